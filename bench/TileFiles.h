#pragma once
// What a run of a job left in its folder: how many tile files, their bytes,
// and whether each holds one picture in the format that was asked for.
#include <cstdint>
#include <string>

enum class TileFormat { kJpeg, kPng, kTarga, kPhotoshop, kSgi, kBmp };

struct TileFiles {
  int files = 0;
  uint64_t bytes = 0;
  std::string problem;  // the first file that is not one picture in the format; empty when none
};

// The files under folder (and its subfolders) whose names end in
// "." + extension.
TileFiles InspectTiles(const std::string& folder, const std::string& extension, TileFormat format);
