#include "platform/quicktime/PluginTable.h"

#include "platform/quicktime/GraphicsExporterComponent.h"
#include "platform/runtime/TestHooks.h"

namespace {
PluginEntrypointsTable* table = nullptr;
}

PluginEntrypointsTable* RuntimeAllocatePluginEntrypointsTable(int32_t count) {
  RuntimeTrace("AllocatePluginEntrypointsTable " + std::to_string(count));
  delete table;
  table = new PluginEntrypointsTable{std::vector<PluginEntry>(static_cast<size_t>(count), nullptr)};
  return table;
}

PluginEntry RuntimeLookupPluginEntrypoint(const std::string& declaredText) {
  RuntimeTrace("LookupPluginEntrypoint " + declaredText);
  if (TestHooks::pluginLookup) return TestHooks::pluginLookup(declaredText);
  return GraphicsExporterEntry(declaredText);
}

PluginEntrypointsTable* RuntimePluginEntrypoints() { return table; }
