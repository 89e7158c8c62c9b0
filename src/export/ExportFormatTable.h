#pragma once
// The output formats by format menu row: the exporter's code and the default
// file-name extension.
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

struct ExportFormat {
  std::string_view exporterCode;
  std::string_view defaultExtension;
};

inline constexpr std::array<ExportFormat, 6> ExportFormatTable = {{
    {"JPEG", "jpg"},
    {"PNGf", "png"},
    {"TPIC", "tga"},
    {"8BPS", "psd"},
    {".SGI", "sgi"},
    {"BMPf", "bmp"},
}};

// The format of a row, or nullopt for a row outside 0 to 5.
inline std::optional<ExportFormat> ExportFormatOfRow(int32_t row) {
  if (row < 0 || row >= int32_t(ExportFormatTable.size())) return std::nullopt;
  return ExportFormatTable[size_t(row)];
}
