#pragma once
// The tile export: cuts the open picture into tiles and writes one file each.
#include <cstdint>
#include <string>

namespace SaveThread {
// Asks for a folder and writes every tile, column by column and top to bottom
// within a column, then shows the time taken.
void SaveTiles();

// "x" + column + "y" + row + the extension string ("." + extension).
std::string TileFileName(int32_t x, int32_t y, const std::string& extension);
// The exporter's quality for a quality row's text: 0 to 1024.
int32_t CompressionQualityOf(const std::string& qualityRowText);
// "Last time: " + minutes + ":" + two-digit seconds, for ticks of 1/60 s.
std::string TimeLabel(int32_t elapsedTicks);
}  // namespace SaveThread

extern const char* const kNoOpenImageMessage;
