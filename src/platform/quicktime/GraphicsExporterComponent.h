#pragma once
// Inside the platform: the graphics exporter component that stands in for
// QuickTime's exporters. It answers the plug-in's look-ups.
#include <string>

#include "platform/quicktime/PluginTable.h"

// The entry declared under that text, or a null entry for a text the
// component does not know.
PluginEntry GraphicsExporterEntry(const std::string& declaredText);
// True when the component is present (QuickTime "installed").
bool GraphicsExporterComponentPresent();
