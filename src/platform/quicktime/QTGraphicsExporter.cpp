#include "platform/quicktime/QTGraphicsExporter.h"

#include "platform/files/FolderItem.h"
#include "platform/graphics/Picture.h"
#include "platform/quicktime/GraphicsExporterComponent.h"
#include "platform/runtime/TestHooks.h"

namespace {
// The entry at that index as a function of its signature, or null.
template <class Signature>
Signature Entry(int index) {
  PluginEntrypointsTable* table = RuntimePluginEntrypoints();
  if (!table || index >= int(table->entries.size())) return nullptr;
  return reinterpret_cast<Signature>(table->entries[size_t(index)]);
}

template <class Signature>
Signature Required(int index) {
  Signature entry = Entry<Signature>(index);
  if (!entry) throw RuntimeException("The QuickTime plug-in entry " + std::to_string(index) + " is not bound.");
  return entry;
}
}  // namespace

const ClassRecord* QTGraphicsExporter::Lookup_() {
  static const ClassRecord* record =
      RuntimeRegisterClass({.name = "QTGraphicsExporter", .superclass = &Object::Lookup_});
  return record;
}

QTGraphicsExporter::~QTGraphicsExporter() {
  if (auto exit = Entry<PluginEntrySignatures::Exit>(PluginEntryIndex::kExporterExit)) exit(handle_);
}

void QTGraphicsExporter::CompressionQuality(int32_t quality) {
  Required<PluginEntrySignatures::SetQuality>(PluginEntryIndex::kExporterCompressionQualitySet)(handle_, quality);
}

bool QTGraphicsExporter::SavePicture(const Ref<FolderItem>& location, const Ref<Picture>& image) {
  return Required<PluginEntrySignatures::SavePicture>(PluginEntryIndex::kExporterSavePicture)(
      handle_, *NotNil(location), *NotNil(image));
}

std::string QTGraphicsExporter::LastError() {
  auto lastError = Entry<PluginEntrySignatures::LastError>(PluginEntryIndex::kExporterLastError);
  return lastError ? lastError(handle_) : std::string();
}

std::string QTGraphicsExporter::TileSizeProblem(int32_t width, int32_t height) {
  auto problem = Entry<PluginEntrySignatures::TileSizeProblem>(PluginEntryIndex::kExporterTileSizeProblem);
  return problem ? problem(handle_, width, height) : std::string();
}

Ref<QTGraphicsExporter> GetQTGraphicsExporter(const std::string& format) {
  auto get = Required<PluginEntrySignatures::GetExporter>(PluginEntryIndex::kGetQTGraphicsExporter);
  ExporterHandle* handle = get(format);
  return handle ? std::make_shared<QTGraphicsExporter>(handle) : nullptr;
}

bool QuicktimeInstallStatus_::Installed() const {
  return TestHooks::quicktimeInstalled && GraphicsExporterComponentPresent();
}
