#pragma once
// What the user is told of a file that does not open, word for word.
#include <string>

inline const std::string kNoImageData = "The file you selected contains no recognizable image data.";
