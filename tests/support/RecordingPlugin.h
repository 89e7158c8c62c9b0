#pragma once
// A plug-in that records every call of the graphics exporter's entries and
// keeps a copy of each saved picture instead of writing it.
#include <QImage>
#include <cstdint>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/quicktime/PluginTable.h"

struct RecordedSave {
  std::string name;  // the file's name
  QImage image;
};

struct RecordingPlugin {
  std::vector<std::string> calls;      // "Get JPEG", "Quality 819", "Save x1y1.jpg", "Exit"
  std::vector<RecordedSave> saves;
  std::set<std::string> failingNames;  // saves of these names answer False
  std::string failureReason = "the disk is full";
  std::string tileSizeProblem;         // the answer to every tile size asked about
  std::vector<std::pair<int32_t, int32_t>> askedTileSizes;

  // Binds the recording entries in place of the real component.
  void Install();
  static void Uninstall();
};
