#pragma once
// Inside the graphics exporter: writes a finished file in one step.
#include <cstddef>
#include <string>

// Writes the bytes to a temporary file beside path and renames it over path,
// so path holds either its old content or all of the new one. False, with
// the reason in error, when that fails.
bool ReplaceFileWith(const std::string& path, const void* data, size_t size, std::string& error);
