#pragma once
// Binding of the QuickTime plug-in's entry table.
#include <array>
#include <string_view>

inline constexpr int kPluginEntrypointCount = 146;

// The declared text of every entry, by index.
const std::array<std::string_view, kPluginEntrypointCount>& PluginEntrypointTexts();

// Allocates the table and looks each entry up once, in index order.
void InitPluginEntrypoints_();
