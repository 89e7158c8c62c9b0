#pragma once
// The framework's QuickTime graphics exporter class. Every operation goes
// through the plug-in's entry table.
#include <cstdint>
#include <string>

#include "platform/runtime/Object.h"
#include "platform/quicktime/PluginTable.h"

class FolderItem;
class Picture;

class QTGraphicsExporter : public Object {
 public:
  explicit QTGraphicsExporter(ExporterHandle* handle) : handle_(handle) {}
  ~QTGraphicsExporter() override;  // entry 73
  static const ClassRecord* Lookup_();
  const ClassRecord* ClassInfo() const override { return Lookup_(); }

  void CompressionQuality(int32_t quality);  // entry 82
  bool SavePicture(const Ref<FolderItem>& location, const Ref<Picture>& image);  // entry 75
  // Why the last SavePicture failed, empty after a success.
  std::string LastError();  // entry 74
  // Why the format cannot hold tiles of that size, empty when it can.
  std::string TileSizeProblem(int32_t width, int32_t height);  // entry 86

 private:
  ExporterHandle* handle_;
};

// An exporter for a four-character format code, or Nil (entry 0).
Ref<QTGraphicsExporter> GetQTGraphicsExporter(const std::string& format);

// The QuickTime status object: installed exactly when the graphics exporter
// component is present (tests can switch it off).
struct QuicktimeInstallStatus_ {
  bool Installed() const;
};
