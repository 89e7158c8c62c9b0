// The framework's conversions and number texts.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <limits>

#include "platform/runtime/Conversions.h"
#include "platform/runtime/TestHooks.h"

namespace {
TEST(Conversions, DoubleToIntegerCutsTowardZeroAndSaturates) {
  const std::pair<double, int32_t> cases[] = {
      {204.8, 204},     {409.6, 409},  {716.8, 716},  {921.6, 921},     {181.5, 181},
      {-18.5, -18},     {-0.9, 0},     {1e12, 2147483647}, {-1e12, -2147483647 - 1},
      {std::nan(""), 0}, {59.99, 59}};
  for (auto [value, expected] : cases) EXPECT_EQ(RuntimeCvtReal64ToSInt32(value), expected) << value;
}

TEST(Conversions, ValReadsTheNumberATextBeginsWith) {
  const std::pair<const char*, double> cases[] = {
      {"100 - Best", 100.0}, {"0 - Worst", 0.0}, {"80", 80.0},   {"", 0.0},     {"abc", 0.0},
      {"  42x", 42.0},       {"-3.5", -3.5},     {"1e3", 1000.0}, {"1e", 1.0},  {".5", 0.5},
      {"+7", 7.0},           {"-", 0.0},         {"00012", 12.0}, {"99999", 99999.0}};
  for (auto [text, expected] : cases) EXPECT_DOUBLE_EQ(Val(text), expected) << '"' << text << '"';
}

TEST(Conversions, FormatGroupsAndPads) {
  const std::string size =
      "###,###,###,###,###,###,###,###,###,###,###,###,###,###,###,###,###,###,###,###,###,"
      "###,###,###,###,###,###,###,###,###,###,###,###,###,###,###,###,###,###,###,###,###";
  const std::tuple<double, std::string, std::string> cases[] = {
      {999, size, "999"},     {1000, size, "1,000"}, {2000, size, "2,000"},
      {32767, size, "32,767"}, {1234567, size, "1,234,567"},
      {7, "00", "07"},        {0, "00", "00"},       {40, "00", "40"},   {59, "00", "59"}};
  for (const auto& [value, pattern, expected] : cases)
    EXPECT_EQ(Format(value, pattern), expected) << value << " with " << pattern.substr(0, 8);
}

TEST(Conversions, StrRoundCeilFloor) {
  EXPECT_EQ(Str(2000), "2000");
  EXPECT_EQ(Str(-28), "-28");
  EXPECT_EQ(Round(0.5), 1.0);
  EXPECT_EQ(Round(134.5), 135.0);
  EXPECT_EQ(Round(-2.5), -3.0);
  EXPECT_EQ(Round(282.4), 282.0);
  EXPECT_EQ(Ceil(3.90625), 4.0);
  EXPECT_EQ(Ceil(4.0), 4.0);
  EXPECT_EQ(Floor(0.1166), 0.0);
}

TEST(Conversions, TicksCountSixtiethsOfTheMonotonicClockAndWrap) {
  using namespace std::chrono;
  const std::pair<steady_clock::duration, int32_t> cases[] = {
      {0s, 0},    {16ms, 0},   {17ms, 1},
      {120ms, 7}, {999ms, 59}, {1s, 60},
      {75s, 4500},
      {35791394s, 2147483640},   // 2^31 - 8 ticks
      {35791395s, -2147483596},  // 2^31 + 52 ticks
      {71582789s, 44},           // 2^32 + 44 ticks
  };
  for (auto [time, ticks] : cases) {
    TestHooks::monotonicClock = [time] { return time; };
    EXPECT_EQ(Ticks(), ticks) << duration_cast<milliseconds>(time).count() << " ms";
  }
  TestHooks::monotonicClock = nullptr;
}
}  // namespace
