#pragma once
// The formats of the whole job, and the other programs that do the same job:
// each at its defaults for the format (JPEG at the job's quality), metadata
// stripped, on one thread unless its name says otherwise.
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "TileFiles.h"

struct JobFormat {
  const char* name;
  int row;                // the format menu's row
  const char* extension;  // Vamor's default for the row
  TileFormat format;
};
inline constexpr JobFormat kJobFormats[] = {{"JPEG", 0, "jpg", TileFormat::kJpeg},
                                            {"PNG", 1, "png", TileFormat::kPng},
                                            {"TARGA", 2, "tga", TileFormat::kTarga},
                                            {"Photoshop", 3, "psd", TileFormat::kPhotoshop},
                                            {"SGI", 4, "sgi", TileFormat::kSgi},
                                            {"BMP", 5, "bmp", TileFormat::kBmp}};
inline constexpr int kJobTile = 256;
inline constexpr int kJobJpegQuality = 80;

struct Peer {
  std::string name;
  std::function<bool(const JobFormat&)> writes;
  // The command that cuts photo into tiles in folder.
  std::function<std::vector<std::string>(const std::string& photo, const std::string& folder, const JobFormat&)>
      command;
  std::map<std::string, std::string> env;
};

// The peers installed on this machine. scratch: a folder for their settings.
std::vector<Peer> InstalledPeers(const std::string& scratch);

// GraphicsMagick's command for JPEG tiles at a libjpeg quality, with chroma at
// full resolution or halved both ways; empty when it is not installed.
std::vector<std::string> GraphicsMagickJpeg(const std::string& photo, const std::string& folder, int quality,
                                            bool fullResolutionChroma);
