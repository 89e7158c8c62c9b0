#pragma once
// The QuickTime plug-in's entry table: entry points looked up by their
// declared texts once at start-up and called through the table afterwards.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class FolderItem;
class Picture;

using PluginEntry = void (*)();
struct ExporterHandle;

// The calling conventions of the graphics exporter's entries.
namespace PluginEntrySignatures {
using GetExporter = ExporterHandle* (*)(const std::string& format);       // Nil for an unknown code
using Exit = void (*)(ExporterHandle* exporter);                           // frees the exporter
using SavePicture = bool (*)(ExporterHandle* exporter, const FolderItem& location, const Picture& image);
using SetQuality = void (*)(ExporterHandle* exporter, int32_t quality);   // 0 .. 1024
using LastError = std::string (*)(ExporterHandle* exporter);              // why the last save failed
// Why the exporter's format cannot hold tiles of that size; empty when it can.
using TileSizeProblem = std::string (*)(ExporterHandle* exporter, int32_t width, int32_t height);
}  // namespace PluginEntrySignatures

// Indices of the entries that the framework's QuickTime classes call.
namespace PluginEntryIndex {
inline constexpr int kGetQTGraphicsExporter = 0;
inline constexpr int kExporterExit = 73;
inline constexpr int kExporterLastError = 74;
inline constexpr int kExporterSavePicture = 75;
inline constexpr int kExporterCompressionQualitySet = 82;
inline constexpr int kExporterTileSizeProblem = 86;
}  // namespace PluginEntryIndex

struct PluginEntrypointsTable {
  std::vector<PluginEntry> entries;
};

// Allocates the table (once per run; a second call replaces it).
PluginEntrypointsTable* RuntimeAllocatePluginEntrypointsTable(int32_t count);
// The entry declared under that text, or a null entry.
PluginEntry RuntimeLookupPluginEntrypoint(const std::string& declaredText);
// The table the framework's QuickTime classes call through.
PluginEntrypointsTable* RuntimePluginEntrypoints();

namespace TestHooks {
// Replaces the plug-in's own look-up when set (a recording plug-in).
inline std::function<PluginEntry(const std::string&)> pluginLookup;
}  // namespace TestHooks
