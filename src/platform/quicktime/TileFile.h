#pragma once
// Inside the graphics exporter: writes a finished file in one step.
#include <cstddef>
#include <cstdio>
#include <functional>
#include <string>

// Writes the bytes to a new temporary file beside path (".<name>.XXXXXX") and
// renames it over path, so path holds either its old content or all of the
// new one, also when the process is stopped halfway. False, with the reason
// in error, when that fails; the temporary file is then removed.
//
// The file is not synced to disk: one sync per tile would cost more than
// encoding it.
bool ReplaceFileWith(const std::string& path, const void* data, size_t size, std::string& error);

// The same for a file that write writes through a buffered stream; write
// answers false when a write failed (errno says why).
bool ReplaceFileWriting(const std::string& path, const std::function<bool(FILE* file)>& write,
                        std::string& error);
