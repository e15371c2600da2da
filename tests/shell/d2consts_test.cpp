#include "shell/d2consts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

namespace drex {
namespace {

TEST(MsgTable, BuiltInTextsByNumber) {
  MsgTable msgs;
  EXPECT_EQ(msgs[0], "Не обрано цільовий об'єкт.");
  EXPECT_EQ(msgs[11], "Об'єкт з назвою \"%s\" вже задано. Змініть назву поточного об'єкта.");
  EXPECT_EQ(msgs[27], "Графік функції");
  EXPECT_EQ(msgs[103], "першу точку");
  EXPECT_EQ(msgs[136], "послідовно вузли інтерполяційного полінома");
  EXPECT_EQ(msgs[167], "графік функції");
  EXPECT_EQ(msgs[168], "");
  EXPECT_EQ(msgs[-1], "");
}

TEST(MsgTable, TrailingBlankOf34ButNot39) {
  MsgTable msgs;
  ASSERT_FALSE(msgs[34].empty());
  EXPECT_EQ(msgs[34].back(), ' ');
  EXPECT_NE(msgs[39].back(), ' ');
}

TEST(MsgTable, EmptyPromptEntries) {
  MsgTable msgs;
  const int empty[] = {101, 102, 105, 107, 108, 111, 114, 117, 120, 123, 129, 132, 135, 137, 138, 140, 141};
  for (int i : empty)
    EXPECT_TRUE(msgs[i].empty()) << i;
  int nonEmpty = 0;
  for (int i = 0; i < MsgCount; ++i)
    nonEmpty += msgs[i].empty() ? 0 : 1;
  EXPECT_EQ(nonEmpty, MsgCount - 17);
}

TEST(MsgTable, PlaceholdersOnlyWhereExpected) {
  MsgTable msgs;
  const int withPlaceholder[] = {11, 30, 49, 55, 58, 68, 70, 79};
  int found = 0;
  for (int i = 0; i < MsgCount; ++i) {
    if (msgs[i].find("%s") == std::string::npos) continue;
    ++found;
    EXPECT_NE(std::find(std::begin(withPlaceholder), std::end(withPlaceholder), i), std::end(withPlaceholder)) << i;
  }
  EXPECT_EQ(found, 8);
}

TEST(MsgTable, ReplaceInPlaceAndReset) {
  MsgTable msgs;
  msgs.Set(14, "Point");
  msgs.Set(500, "ignored");
  EXPECT_EQ(msgs[14], "Point");
  msgs.Reset();
  EXPECT_EQ(msgs[14], "Точка");
}

TEST(MsgTable, FormatFillsPlaceholdersInOrder) {
  MsgTable msgs;
  EXPECT_EQ(FormatMsg(msgs[58], {"2", "5"}), "Вилучити виділені об'єкти (2) та всі зв'язані з ними об'єкти (5) ?");
  EXPECT_EQ(FormatMsg("a%sb%s", {"1"}), "a1b");
  EXPECT_EQ(FormatMsg("100%", {"x"}), "100%");
}

} // namespace
} // namespace drex
