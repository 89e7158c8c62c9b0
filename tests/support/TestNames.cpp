#include "TestNames.h"

#include <cctype>

std::string TestNameOf(std::string text) {
  for (char& c : text)
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  return text;
}
