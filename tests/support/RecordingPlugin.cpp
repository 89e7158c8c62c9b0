#include "RecordingPlugin.h"

#include "platform/files/FolderItem.h"
#include "platform/graphics/PictureImage.h"

namespace {
RecordingPlugin* recorder = nullptr;
struct RecordedExporter {
  std::string format;
};

ExporterHandle* Get(const std::string& format) {
  recorder->calls.push_back("Get " + format);
  return reinterpret_cast<ExporterHandle*>(new RecordedExporter{format});
}
void Exit(ExporterHandle* handle) {
  recorder->calls.push_back("Exit");
  delete reinterpret_cast<RecordedExporter*>(handle);
}
bool Save(ExporterHandle*, const FolderItem& location, const Picture& image) {
  recorder->calls.push_back("Save " + location.Name());
  recorder->saves.push_back({location.Name(), ImageOf(image).copy()});
  return recorder->failingNames.count(location.Name()) == 0;
}
void Quality(ExporterHandle*, int32_t quality) {
  recorder->calls.push_back("Quality " + std::to_string(quality));
}
std::string LastError(ExporterHandle*) { return recorder->failureReason; }
std::string TileSizeProblem(ExporterHandle*, int32_t width, int32_t height) {
  recorder->askedTileSizes.emplace_back(width, height);
  return recorder->tileSizeProblem;
}

template <class F>
PluginEntry AsEntry(F function) {
  return reinterpret_cast<PluginEntry>(function);
}
}  // namespace

void RecordingPlugin::Install() {
  recorder = this;
  TestHooks::pluginLookup = [](const std::string& text) -> PluginEntry {
    if (text == "GetQTGraphicsExporter(format as string) As QTGraphicsExporter") return AsEntry(&Get);
    if (text == "QTGraphicsExporter.__exit") return AsEntry(&Exit);
    if (text == "QTGraphicsExporter.SavePicture(location As FolderItem, image As Picture) As Boolean")
      return AsEntry(&Save);
    if (text == "QTGraphicsExporter.CompressionQuality.Set") return AsEntry(&Quality);
    if (text == "QTGraphicsExporter.LastError.Get As String") return AsEntry(&LastError);
    if (text == "QTGraphicsExporter.TileSizeProblem(width As Integer, height As Integer) As String")
      return AsEntry(&TileSizeProblem);
    return nullptr;
  };
}

void RecordingPlugin::Uninstall() {
  TestHooks::pluginLookup = nullptr;
  recorder = nullptr;
}
