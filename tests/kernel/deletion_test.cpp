#include "kernel/deletion.h"

#include <algorithm>
#include <array>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "shell/d2consts.h"
#include "support/construction_builder.h"
#include "support/construction_generator.h"
#include "support/scripted_platform.h"

namespace drex {
namespace {

class DeletionTest : public ::testing::Test {
protected:
  void Select(std::initializer_list<int> numbers) {
    for (int n : numbers)
      doc[n].Selected = 1;
  }
  std::vector<int> SelectedObjects() const {
    std::vector<int> out;
    for (int i = 1; i <= doc.ObjCount; ++i)
      if (doc[i].Selected) out.push_back(i);
    return out;
  }
  void AddMeasurement(uint8_t type, int a, int b, int c) {
    doc.Measurements[static_cast<std::size_t>(doc.MeasureCount++)] =
        Measurement{type, {static_cast<int16_t>(a), static_cast<int16_t>(b), static_cast<int16_t>(c)}};
  }

  Construction doc;
  ConstructionBuilder b{doc};
};

TEST_F(DeletionTest, RenumberingReachesForwardReferencesAndMeasurements) {
  for (int i = 1; i <= 3; ++i)
    b.Point(10 * i, 0);
  // Object 4 was rebuilt by the properties dialog on the later object 10.
  const int forward = b.Midpoint(1, 2);
  for (int i = 5; i <= 9; ++i)
    b.Point(10 * i, 5);
  const int last = b.Midpoint(5, 9);
  ASSERT_EQ(last, 10);
  doc[forward].Refs[2] = static_cast<int16_t>(last);
  AddMeasurement(1, last, 5, 0); // a distance that stays
  AddMeasurement(0, 1, 3, 2);    // an angle on the deleted point 3: removed
  AddMeasurement(1, 6, 1, 3);    // a distance only counts two points: stays
  AddMeasurement(0, 9, last, 7); // stays
  AddMeasurement(1, 3, 9, 0);    // removed
  std::array<int, MaxMeasurements> labels{};
  for (int k = 0; k < 5; ++k)
    labels[static_cast<std::size_t>(k)] = 100 + k;
  Select({3});

  EXPECT_EQ(CloseSelection(doc).Dependants, 0);
  Renumbering moved;
  RemoveSelected(doc, moved);
  ASSERT_EQ(doc.ObjCount, 9);
  EXPECT_TRUE(doc[9].Name.Equals("o10"));
  EXPECT_EQ(doc[3].Ref(1), 1);
  EXPECT_EQ(doc[3].Ref(2), 9) << "the forward reference follows object 10 to 9";
  EXPECT_EQ(doc[9].Ref(1), 4);
  EXPECT_EQ(doc[9].Ref(2), 8);
  EXPECT_EQ(moved.Object(last), 9);

  ASSERT_EQ(doc.MeasureCount, 3);
  const std::array<int16_t, 3> kept[] = {{9, 4, 0}, {5, 1, 3}, {8, 9, 6}};
  for (int k = 0; k < 3; ++k)
    EXPECT_EQ(doc.Measurements[static_cast<std::size_t>(k)].Objects, kept[k]) << k;
  EXPECT_EQ(moved.Measures, (std::vector<int>{0, -1, 1, 2, -1}));
  MoveWithMeasurements(moved, labels);
  EXPECT_EQ(labels[0], 100);
  EXPECT_EQ(labels[1], 102) << "a label moves with its measurement";
  EXPECT_EQ(labels[2], 103);
}

TEST_F(DeletionTest, ForwardReferenceIsADependant) {
  for (int i = 1; i <= 6; ++i)
    b.Point(i, i);
  const int seven = b.Point(7, 7);
  const int eight = b.Line(1, seven);
  doc[3].Kind = okMidpoint; // object 3 built on the later object 7
  doc[3].RefCount = 2;
  doc[3].Refs[1] = 1;
  doc[3].Refs[2] = static_cast<int16_t>(seven);
  const int nine = b.Midpoint(3, 2);

  EXPECT_TRUE(DependsOn(doc, 3, seven));
  EXPECT_TRUE(DependsOn(doc, nine, seven));
  EXPECT_FALSE(DependsOn(doc, seven, 3));
  std::vector<uint8_t> marks;
  MarkDependants(doc, seven, marks);
  ASSERT_EQ(marks.size(), 10u);
  EXPECT_EQ(marks, (std::vector<uint8_t>{0, 0, 0, 1, 0, 0, 0, 1, 1, 1}));

  Select({seven});
  const DeletionCounts counts = CloseSelection(doc);
  EXPECT_EQ(counts.Selected, 1);
  EXPECT_EQ(counts.Dependants, 3);
  EXPECT_EQ(SelectedObjects(), (std::vector<int>{3, seven, eight, nine}));
}

TEST_F(DeletionTest, DependsOnFollowsListedObjectReferencesOnly) {
  const int unrelated = b.Point(5, 5);
  const int a = b.Point(0, 0), p = b.Point(1, 0);
  const int x = b.Intersection(b.Line(a, p), b.Line(b.Point(0, 1), b.Point(1, 1)));
  ASSERT_EQ(doc[x].Refs[0], unrelated) << "the subtype of two lines reads like object 1";
  EXPECT_TRUE(DependsOn(doc, x, a));
  EXPECT_FALSE(DependsOn(doc, x, unrelated)) << "Refs[0] is no reference";
  doc[unrelated].Selected = 1;
  EXPECT_EQ(CloseSelection(doc).Dependants, 0);
  // Beyond RefCount is no reference; numbers outside the table are compared, never followed.
  const int odd = b.Raw(okMidpoint, {a, 9999});
  doc[odd].Refs[3] = static_cast<int16_t>(p);
  EXPECT_FALSE(DependsOn(doc, odd, p));
  EXPECT_TRUE(DependsOn(doc, odd, 9999));
  // A cycle, which a damaged construction could hold, ends the search.
  doc[a].RefCount = 1;
  doc[a].Refs[1] = static_cast<int16_t>(odd);
  EXPECT_FALSE(DependsOn(doc, odd, unrelated));
}

TEST_F(DeletionTest, DeepChainsAndDiamondsStayLinear) {
  GenerateMidpointChain(doc, MaxObjects);
  EXPECT_TRUE(DependsOn(doc, MaxObjects, 2));
  EXPECT_FALSE(DependsOn(doc, 2, MaxObjects));
  std::vector<uint8_t> marks;
  MarkDependants(doc, 2, marks);
  EXPECT_EQ(std::count(marks.begin(), marks.end(), 1), MaxObjects - 1);
  doc[2].Selected = 1;
  EXPECT_EQ(CloseSelection(doc).Dependants, MaxObjects - 2);

  // Every object the midpoint of the two before it: 2^n paths lead back to the first points.
  Construction diamond;
  ConstructionBuilder d{diamond};
  d.Point(0, 0);
  d.Point(1, 0);
  for (int i = 3; i <= MaxObjects; ++i)
    d.Midpoint(i - 1, i - 2);
  EXPECT_TRUE(DependsOn(diamond, MaxObjects, 1));
  EXPECT_FALSE(DependsOn(diamond, MaxObjects - 1, MaxObjects)) << "a search through every ancestor";
  MarkDependants(diamond, 1, marks);
  EXPECT_EQ(std::count(marks.begin(), marks.end(), 1), MaxObjects - 1) << "all but object 2";
}

TEST(DeletionQuestion, CountsAreWrittenAsPlainIntegers) {
  MsgTable msgs;
  ScriptedPlatform desk;
  desk.ExpectMessage("Вилучити виділені об'єкти (123) та всі зв'язані з ними об'єкти (4567) ?", mbYes | mbNo, mbYes);
  EXPECT_TRUE(ConfirmDeletion(desk, msgs, DeletionCounts{123, 4567}));
}

// The deletion as a literal reading of the rules: closure by whole passes until nothing changes,
// then removal from the top down, one object at a time, renumbering everything after each.
DeletionCounts ReferenceDelete(Construction& c, int& locus) {
  DeletionCounts counts;
  for (int i = 1; i <= c.ObjCount; ++i)
    if (c[i].Selected) ++counts.Selected;
  for (bool marked = true; marked;) {
    marked = false;
    for (int i = 1; i <= c.ObjCount; ++i) {
      TGeomObject& o = c[i];
      if (o.Selected) continue;
      for (int k = 1; k <= o.RefCount; ++k) {
        const int r = o.Ref(k);
        if (r >= 1 && r <= c.ObjCount && c[r].Selected) {
          o.Selected = 1;
          ++counts.Dependants;
          marked = true;
          break;
        }
      }
    }
  }
  if (locus > 0 && c[locus].Selected) locus = 0;
  int kept = 0;
  for (int k = 0; k < c.MeasureCount; ++k) {
    const Measurement m = c.Measurements[static_cast<std::size_t>(k)];
    bool gone = false;
    for (int p = 0; p < (m.Type == 1 ? 2 : 3); ++p)
      gone = gone || c[m.Objects[static_cast<std::size_t>(p)]].Selected;
    if (!gone) c.Measurements[static_cast<std::size_t>(kept++)] = m;
  }
  c.MeasureCount = static_cast<int16_t>(kept);
  int end = c.ObjCount;
  for (int s = c.ObjCount; s >= 1; --s) {
    if (!c[s].Selected) continue;
    for (int j = s; j < end; ++j)
      c[j] = c[j + 1];
    --end;
    for (int j = 1; j <= end; ++j) {
      TGeomObject& o = c[j];
      if (o.Selected) continue;
      for (int k = 1; k <= o.RefCount; ++k)
        if (o.Refs[static_cast<std::size_t>(k)] > s) --o.Refs[static_cast<std::size_t>(k)];
    }
    for (int k = 0; k < c.MeasureCount; ++k)
      for (int16_t& number : c.Measurements[static_cast<std::size_t>(k)].Objects)
        if (number > s) --number;
    if (locus > s) --locus;
  }
  c.ObjCount = static_cast<int16_t>(end);
  return counts;
}

// A mixed construction with a few references to later free points, a random selection, random
// measurements (a distance's third number 0) and a traced point.
int PrepareRandomCase(Construction& c, uint32_t seed) {
  GenerateMixedConstruction(c, 400, seed);
  std::mt19937 rnd(seed);
  const int n = c.ObjCount;
  auto any = [&] { return 1 + static_cast<int>(rnd() % static_cast<unsigned>(n)); };
  for (int i = 1; i <= n; ++i) {
    TGeomObject& o = c[i];
    if (o.Kind == okMidpoint && rnd() % 4 == 0) {
      const int later = i + 1 + static_cast<int>(rnd() % static_cast<unsigned>(n - i + 1));
      if (later <= n && c[later].Kind == okPoint) o.Refs[1] = static_cast<int16_t>(later);
    }
    o.Selected = rnd() % 40 == 0 ? 1 : 0;
  }
  c.MeasureCount = 60;
  for (Measurement& m : c.Measurements) {
    m.Type = static_cast<uint8_t>(rnd() % 2);
    m.Objects = {static_cast<int16_t>(any()), static_cast<int16_t>(any()),
                 static_cast<int16_t>(m.Type == 1 ? 0 : any())};
  }
  return any();
}

TEST(DeletionReference, FastRemovalMatchesTheLiteralOne) {
  for (uint32_t seed = 1; seed <= 6; ++seed) {
    SCOPED_TRACE(seed);
    Construction fast, slow;
    int fastLocus = PrepareRandomCase(fast, seed);
    int slowLocus = PrepareRandomCase(slow, seed);
    const DeletionCounts expected = ReferenceDelete(slow, slowLocus);
    const DeletionCounts counts = CloseSelection(fast);
    EXPECT_EQ(counts.Selected, expected.Selected);
    EXPECT_EQ(counts.Dependants, expected.Dependants);
    EXPECT_GT(counts.Dependants, 0);
    Renumbering moved;
    RemoveSelected(fast, moved);
    fastLocus = moved.Object(fastLocus);

    ASSERT_EQ(fast.ObjCount, slow.ObjCount);
    for (int i = 1; i <= fast.ObjCount; ++i) {
      EXPECT_TRUE(fast[i].Name.Equals(slow[i].Name)) << i;
      EXPECT_EQ(fast[i].Kind, slow[i].Kind) << i;
      EXPECT_EQ(fast[i].RefCount, slow[i].RefCount) << i;
      EXPECT_EQ(fast[i].Refs, slow[i].Refs) << i;
      EXPECT_EQ(fast[i].Param, slow[i].Param) << i;
    }
    ASSERT_EQ(fast.MeasureCount, slow.MeasureCount);
    for (int k = 0; k < fast.MeasureCount; ++k) {
      EXPECT_EQ(fast.Measurements[static_cast<std::size_t>(k)].Type,
                slow.Measurements[static_cast<std::size_t>(k)].Type);
      EXPECT_EQ(fast.Measurements[static_cast<std::size_t>(k)].Objects,
                slow.Measurements[static_cast<std::size_t>(k)].Objects);
    }
    EXPECT_EQ(fastLocus, slowLocus);
  }
}

} // namespace
} // namespace drex
