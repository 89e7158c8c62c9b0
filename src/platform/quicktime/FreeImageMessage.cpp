#include "platform/quicktime/FreeImageMessage.h"

#include <FreeImage.h>

#include <mutex>

namespace {
thread_local std::string lastMessage;
}  // namespace

void ClearFreeImageMessage() {
  static std::once_flag once;
  std::call_once(once, [] {
    FreeImage_SetOutputMessage([](FREE_IMAGE_FORMAT, const char* message) {
      lastMessage = message ? message : "";
    });
  });
  lastMessage.clear();
}

const std::string& FreeImageMessage() { return lastMessage; }
