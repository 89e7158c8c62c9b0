#pragma once
// The message shown when a file gives no picture.
#include <string>

#include "platform/files/PictureOpenFailure.h"

extern const char* const kNoImageDataMessage;

// What went wrong with the file of that name, in words for the user: the
// no-image-data message for content that is not a picture, otherwise what
// kept the file from being read or held.
std::string OpenFailureMessage(const std::string& fileName, const PictureOpenFailure& failure);
