#include "platform/quicktime/GraphicsExporterComponent.h"

#include <cerrno>
#include <exception>
#include <filesystem>
#include <memory>
#include <string_view>
#include <system_error>

#include "platform/files/FolderItem.h"
#include "platform/files/OpenFolder.h"
#include "platform/graphics/PictureImage.h"
#include "platform/quicktime/TileEncoder.h"

struct ExporterHandle {
  std::unique_ptr<TileEncoder> encoder;
  std::string lastError;  // why the last save failed, empty after a success
};

namespace {
// No entry lets an exception out: the caller is the plug-in table.

ExporterHandle* GetExporter(const std::string& format) noexcept {
  try {
    std::unique_ptr<TileEncoder> encoder = NewTileEncoder(format);
    return encoder ? new ExporterHandle{std::move(encoder), {}} : nullptr;
  } catch (...) {
    return nullptr;
  }
}

void Exit(ExporterHandle* exporter) noexcept { delete exporter; }

std::string LastError(ExporterHandle* exporter) noexcept {
  try {
    return exporter->lastError;
  } catch (...) {
    return {};
  }
}

// The folder that receives the file: the open folder the location is a child
// of, or its parent folder, opened for this one file.
std::shared_ptr<const OpenFolder> FolderOf(const FolderItem& location, std::string& error) {
  if (const auto& open = location.OpenParent_()) return open;
  std::filesystem::path parent = std::filesystem::path(location.NativePath()).parent_path();
  std::shared_ptr<const OpenFolder> folder = OpenFolder::Open(parent.empty() ? "." : parent.string());
  if (!folder) error = std::generic_category().message(errno);
  return folder;
}

bool SavePicture(ExporterHandle* exporter, const FolderItem& location, const Picture& image) noexcept {
  std::string& error = exporter->lastError;
  try {
    error.clear();
    std::shared_ptr<const OpenFolder> folder = FolderOf(location, error);
    if (!folder) return false;
    const TilePath path{folder->Descriptor(), std::filesystem::path(location.NativePath()).filename().string()};
    if (exporter->encoder->Save(image.Image(), path, error)) return true;
    if (error.empty()) error = "The file could not be written.";
  } catch (const std::exception& exception) {
    error = exception.what();
  } catch (...) {
    error = "The file could not be written.";
  }
  return false;
}

void SetQuality(ExporterHandle* exporter, int32_t quality) noexcept { exporter->encoder->SetQuality(quality); }

std::string TileSizeProblem(ExporterHandle* exporter, int32_t width, int32_t height) noexcept {
  try {
    return exporter->encoder->TileSizeProblem(width, height);
  } catch (...) {
    return {};
  }
}

template <class Signature>
PluginEntry AsEntry(Signature function) {
  return reinterpret_cast<PluginEntry>(function);
}

struct DeclaredEntry {
  std::string_view text;
  PluginEntry entry;
};
}  // namespace

PluginEntry GraphicsExporterEntry(const std::string& declaredText) {
  // Local, so that a look-up during static initialisation finds it made.
  static const DeclaredEntry kEntries[] = {
      {"GetQTGraphicsExporter(format as string) As QTGraphicsExporter",
       AsEntry<PluginEntrySignatures::GetExporter>(&GetExporter)},
      {"QTGraphicsExporter.__exit", AsEntry<PluginEntrySignatures::Exit>(&Exit)},
      {"QTGraphicsExporter.LastError.Get As String", AsEntry<PluginEntrySignatures::LastError>(&LastError)},
      {"QTGraphicsExporter.SavePicture(location As FolderItem, image As Picture) As Boolean",
       AsEntry<PluginEntrySignatures::SavePicture>(&SavePicture)},
      {"QTGraphicsExporter.CompressionQuality.Set", AsEntry<PluginEntrySignatures::SetQuality>(&SetQuality)},
      {"QTGraphicsExporter.TileSizeProblem(width As Integer, height As Integer) As String",
       AsEntry<PluginEntrySignatures::TileSizeProblem>(&TileSizeProblem)},
  };
  for (const DeclaredEntry& declared : kEntries)
    if (declared.text == declaredText) return declared.entry;
  return nullptr;
}

bool GraphicsExporterComponentPresent() { return true; }
