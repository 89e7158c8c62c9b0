#include "platform/runtime/Conversions.h"

#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <locale>
#include <sstream>

#include "platform/runtime/TestHooks.h"

int32_t RuntimeCvtReal64ToSInt32(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 2147483647.0) return std::numeric_limits<int32_t>::max();
  if (value <= -2147483648.0) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(value);
}

double Val(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  size_t start = i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  size_t digits = 0;
  while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) ++i, ++digits;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) ++i, ++digits;
  }
  if (digits == 0) return 0.0;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    size_t e = i + 1;
    if (e < text.size() && (text[e] == '+' || text[e] == '-')) ++e;
    if (e < text.size() && std::isdigit(static_cast<unsigned char>(text[e]))) {
      while (e < text.size() && std::isdigit(static_cast<unsigned char>(text[e]))) ++e;
      i = e;
    }
  }
  // from_chars reads in the C locale whatever the process's locale is; it
  // takes a minus sign but no plus sign.
  bool negative = text[start] == '-';
  if (text[start] == '+' || negative) ++start;
  double value = 0.0;
  std::from_chars(text.data() + start, text.data() + i, value);
  return negative ? -value : value;
}

std::string Str(int32_t value) { return std::to_string(value); }

std::string Format(double value, std::string_view pattern) {
  size_t point = pattern.find('.');
  std::string_view integral = pattern.substr(0, point);
  std::string_view fraction = point == std::string_view::npos ? "" : pattern.substr(point + 1);
  size_t minIntegral = 0, fractionDigits = 0;
  bool grouping = false;
  for (char c : integral) {
    if (c == '0') ++minIntegral;
    if (c == ',') grouping = true;
  }
  for (char c : fraction) {
    if (c == '0' || c == '#') ++fractionDigits;
  }
  bool negative = value < 0;
  double scaled = std::round(std::fabs(value) * std::pow(10.0, double(fractionDigits)));
  std::ostringstream out;
  out.imbue(std::locale::classic());
  out.precision(0);
  out << std::fixed << scaled;
  std::string digits = out.str();
  if (digits.size() < fractionDigits + 1) digits.insert(0, fractionDigits + 1 - digits.size(), '0');
  std::string whole = digits.substr(0, digits.size() - fractionDigits);
  std::string frac = digits.substr(digits.size() - fractionDigits);
  if (whole == "0" && minIntegral == 0) whole.clear();
  if (whole.size() < minIntegral) whole.insert(0, minIntegral - whole.size(), '0');
  if (grouping) {
    for (int pos = int(whole.size()) - 3; pos > 0; pos -= 3) whole.insert(size_t(pos), ",");
  }
  std::string result = (negative && scaled != 0.0 ? "-" : "") + whole;
  if (!frac.empty()) result += "." + frac;
  return result;
}

double Ceil(double value) { return std::ceil(value); }
double Floor(double value) { return std::floor(value); }
double Round(double value) { return std::round(value); }

int32_t Ticks() {
  using namespace std::chrono;
  steady_clock::duration now =
      TestHooks::monotonicClock ? TestHooks::monotonicClock() : steady_clock::now().time_since_epoch();
  auto ticks = duration_cast<duration<int64_t, std::ratio<1, 60>>>(now);
  return static_cast<int32_t>(static_cast<uint32_t>(ticks.count()));
}
