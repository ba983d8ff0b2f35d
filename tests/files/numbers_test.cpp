// Tests of the number rules of text files. Depends on files/files.h.
#include <gtest/gtest.h>

#include <climits>

#include "files/files.h"

namespace {

TEST(Numbers, TextToInt) {
  struct {
    const char* text;
    int32_t value;
  } cases[] = {
      {"42", 42},          {"+7", 7},          {"-12abc", -12},    {"007", 7},
      {" \t\n\v\f\r17", 17}, {"12 34", 12},     {"%101", 5},        {"-%101", -5},
      {"%1012", 5},        {"$fF", 255},       {"$7fffffff", INT_MAX}, {"$FFFFFFFF", -1},
      {"-$10", -16},       {"2147483648", INT_MIN}, {"4294967297", 1}, {"-2147483648", INT_MIN},
      // No digits at all.
      {"", 0}, {"   ", 0}, {"-", 0}, {"+", 0}, {"- 5", 0}, {"--5", 0}, {"$", 0}, {"%", 0},
      {"$g1", 0}, {"%2", 0}, {"x5", 0},
      // The base marker comes right after the sign; "0x" is not a marker.
      {"0x1A", 0}, {"$-5", 0}, {"1.9", 1},
  };
  for (const auto& c : cases) EXPECT_EQ(TextToInt(c.text), c.value) << '"' << c.text << '"';
}

TEST(Numbers, IntToTextRoundTrips) {
  struct {
    int32_t value;
    const char* text;
  } cases[] = {{0, "0"}, {7, "7"}, {-5, "-5"}, {100, "100"}, {INT_MAX, "2147483647"},
               {INT_MIN, "-2147483648"}};
  for (const auto& c : cases) {
    EXPECT_EQ(IntToText(c.value), c.text);
    EXPECT_EQ(TextToInt(IntToText(c.value)), c.value);
  }
}

}  // namespace
