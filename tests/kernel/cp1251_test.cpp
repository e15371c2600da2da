#include "kernel/cp1251.h"

#include <gtest/gtest.h>

#include <string>

namespace drex {
namespace {

TEST(Cp1251, UkrainianLettersBothWays) {
  const std::string utf8 = "Точка їжак Ґґ Єє Іі Її ё №";
  const std::string bytes = Utf8ToCp1251(utf8);
  EXPECT_EQ(bytes.size(), 26u);
  EXPECT_EQ(static_cast<uint8_t>(bytes[0]), 0xD2);  // Т
  EXPECT_EQ(static_cast<uint8_t>(bytes[6]), 0xBF);  // ї
  EXPECT_EQ(static_cast<uint8_t>(bytes[11]), 0xA5); // Ґ
  EXPECT_EQ(Cp1251ToUtf8(bytes), utf8);
  EXPECT_TRUE(FitsCp1251(utf8));
}

TEST(Cp1251, EveryByteSurvivesARoundTrip) {
  std::string all;
  for (int b = 1; b < 256; ++b)
    all += static_cast<char>(b);
  EXPECT_EQ(Utf8ToCp1251(Cp1251ToUtf8(all)), all);
}

TEST(Cp1251, UnmappableAndInvalidInputBecomesQuestionMarks) {
  EXPECT_EQ(Utf8ToCp1251("a\xE2\x88\x9A"
                         "b"),
            "a?b");                                 // √ has no byte
  EXPECT_EQ(Utf8ToCp1251("\xF0\x9F\x98\x80"), "?"); // emoji
  EXPECT_EQ(Utf8ToCp1251("x\xFFy"), "x?y");         // not UTF-8
  EXPECT_EQ(Utf8ToCp1251("\xD0"), "?");             // cut sequence
  EXPECT_EQ(Utf8ToCp1251("\xC0\xAF"), "?");         // overlong form
  EXPECT_FALSE(FitsCp1251("π"));
  EXPECT_EQ(Utf8ToCp1251(""), "");
}

} // namespace
} // namespace drex
