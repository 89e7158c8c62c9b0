#pragma once
// The program's one file-type set: any file may be dropped on the preview.
#include <string>

#include "platform/files/FileType.h"

namespace AllFiles {
inline Ref<FileType> pAny;
// Builds and registers the type "special/any".
void Initialize_();
// The accepted-types list for file drops: "special/any;".
std::string All();
}  // namespace AllFiles
