#pragma once
// Inside the graphics exporter: writes a finished file in one step.
#include <cstddef>
#include <cstdio>
#include <functional>
#include <string>

#include "platform/quicktime/TilePath.h"

// Writes the bytes to a new temporary file in path's folder (".<name>.XXXXXX")
// and renames it over path's name there, so the file holds either its old
// content or all of the new one, also when the process is stopped halfway. The
// three steps go through the folder's descriptor: they reach the same folder
// even if it is moved meanwhile. False, with the reason in error, when that
// fails; the temporary file is then removed. A process killed between the
// first and the last step leaves its temporary file behind.
//
// The file is not synced to disk: one sync per tile would cost more than
// encoding it.
bool ReplaceFileWith(const TilePath& path, const void* data, size_t size, std::string& error);

// The same for a file that write writes through a buffered stream; write
// answers false when a write failed (errno says why).
bool ReplaceFileWriting(const TilePath& path, const std::function<bool(FILE* file)>& write,
                        std::string& error);
