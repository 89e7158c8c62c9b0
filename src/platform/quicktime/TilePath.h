#pragma once
// Inside the graphics exporter: where a tile file is written, as a name in a
// folder held open by its descriptor, so that the temporary file, the rename
// and any clean-up all happen in that one folder wherever it is moved.
#include <string>

struct TilePath {
  int folder;        // the folder's descriptor (AT_FDCWD: the working folder)
  std::string name;  // the file's name in it, without a path separator
};
