#pragma once
// Names of parameterised tests made from text such as file names.
#include <string>

// The text with every character but ASCII letters and digits made '_'.
std::string TestNameOf(std::string text);
