#include "kernel/object_table.h"

#include <gtest/gtest.h>

#include "kernel/cp1251.h"
#include "shell/d2consts.h"

namespace drex {
namespace {

class ObjectTableTest : public ::testing::Test {
protected:
  ObjectTableTest() { TakeKindTexts(msgs, texts); }

  int Add(int kind, const std::string& utf8Name = {}) {
    const int n = ++doc.ObjCount;
    InitObject(doc, kind, n, NamingRules{texts, dotsOneLetter}, 0, 0);
    if (!utf8Name.empty()) doc[n].Name.Assign(Utf8ToCp1251(utf8Name));
    return n;
  }
  std::string Name(int n) const { return Cp1251ToUtf8(doc[n].Name.Bytes()); }
  std::string NextName(int kind) const {
    return Cp1251ToUtf8(DefaultName(doc, kind, NamingRules{texts, dotsOneLetter}));
  }

  MsgTable msgs;
  KindTexts texts;
  Construction doc;
  bool dotsOneLetter = true;
};

TEST_F(ObjectTableTest, PointsTakeTheFirstFreeLetter) {
  Add(okPoint, "A");
  Add(okPoint, "C");
  EXPECT_EQ(NextName(okMidpoint), "B");
  EXPECT_EQ(NextName(okLine), "лінія1");
}

TEST_F(ObjectTableTest, AfterTheAlphabetPointsAreNumbered) {
  for (int k = 0; k < 26; ++k)
    Add(okPoint);
  EXPECT_EQ(Name(1), "A");
  EXPECT_EQ(Name(26), "Z");
  EXPECT_EQ(NextName(okPoint), "точка1");
  dotsOneLetter = false;
  EXPECT_EQ(NextName(okIntersection), "точка1");
}

TEST_F(ObjectTableTest, NumberedNamesAreCaseSensitiveAndReuseGaps) {
  dotsOneLetter = false;
  Add(okCircle, "Коло1");
  EXPECT_EQ(NextName(okCircle), "коло1");
  Add(okCircle);
  Add(okCircle);
  Add(okCircle);
  EXPECT_EQ(Name(4), "коло3");
  doc[3].Name.Assign(Utf8ToCp1251("інше"));
  EXPECT_EQ(NextName(okCircle), "коло2");
  EXPECT_EQ(NextName(okFunction), "графік функції1");
}

TEST_F(ObjectTableTest, AllocatorGivesTheNamesOfOneObjectAfterAnother) {
  Add(okPoint, "B");
  Add(okCircle, "коло2");
  Add(okPoint, "точка1");
  NameAllocator names(doc, NamingRules{texts, dotsOneLetter});
  // The same names, in the same order, as appending one object at a time.
  const int kinds[] = {okPoint, okCircle, okMidpoint, okCircle, okLine};
  std::vector<std::string> batch;
  for (int kind : kinds)
    batch.push_back(Cp1251ToUtf8(names.Next(kind)));
  for (int k = 0; k < 25; ++k)
    batch.push_back(Cp1251ToUtf8(names.Next(okPoint)));
  std::vector<std::string> single;
  for (int kind : kinds)
    single.push_back(Name(Add(kind)));
  for (int k = 0; k < 25; ++k)
    single.push_back(Name(Add(okPoint)));
  EXPECT_EQ(batch, single);
  EXPECT_EQ(batch.back(), "точка3");
}

TEST_F(ObjectTableTest, InitObjectDefaults) {
  const int g = Add(okFunction);
  const TGeomObject& f = doc[g];
  EXPECT_EQ(f.FuncType, 1);
  EXPECT_EQ(f.X1, -5.0);
  EXPECT_EQ(f.Y1, 5.0);
  EXPECT_EQ(f.X2, -5.0);
  EXPECT_EQ(f.Y2, 5.0);
  EXPECT_EQ(f.Expr1.Bytes(), "x");
  EXPECT_EQ(f.Expr2.Bytes(), "t");
  EXPECT_EQ(f.RefCount, 0);
  EXPECT_EQ(f.PenWidth, 1);
  EXPECT_EQ(f.Visible, 1);
  EXPECT_EQ(f.Defined, 1);
  const int expected[KindCount] = {0, 2, 1, 2, 2, 2, 2, 2, 3, 2, 500, 2, 10, 0};
  for (int kind = 0; kind < KindCount; ++kind)
    EXPECT_EQ(InitialRefCount(kind), expected[kind]) << kind;
}

TEST_F(ObjectTableTest, InitObjectPlacesPointAtMouseAndClearsOldBytes) {
  doc.ObjCount = 1;
  doc[1].Param[5] = 42;
  doc[1].Refs[7] = 9;
  InitObject(doc, okPoint, 1, NamingRules{texts, true}, 12.5, -3);
  EXPECT_EQ(doc[1].X1, 12.5);
  EXPECT_EQ(doc[1].Y1, -3);
  EXPECT_EQ(doc[1].Param[5], 0);
  EXPECT_EQ(doc[1].Refs[7], 0);
}

TEST_F(ObjectTableTest, FindByNameTakesTheLastAndComparesExactly) {
  Add(okPoint, "P");
  Add(okLine, "P");
  Add(okPoint, "p");
  EXPECT_EQ(FindObjectByName(doc, "P"), 2);
  EXPECT_EQ(FindObjectByName(doc, "p"), 3);
  EXPECT_EQ(FindObjectByName(doc, "Q"), 0);
}

TEST_F(ObjectTableTest, NamesAndCaptions) {
  EXPECT_TRUE(IsValidObjectName("A1"));
  EXPECT_FALSE(IsValidObjectName(""));
  EXPECT_FALSE(IsValidObjectName("f(x)"));
  EXPECT_FALSE(IsValidObjectName("a)"));
  const int c = Add(okCircle, "k");
  EXPECT_EQ(ObjectCaption(doc, c, texts), "Коло (k)");
  doc[c].Name.Assign("");
  EXPECT_EQ(ObjectCaption(doc, c, texts), "Коло");
}

TEST_F(ObjectTableTest, KindSets) {
  EXPECT_TRUE(KindsCompatible(okPoint, okIntersection));
  EXPECT_TRUE(KindsCompatible(okLine, okTangent));
  EXPECT_TRUE(KindsCompatible(okCircle, okCircle));
  EXPECT_FALSE(KindsCompatible(okSymmetric, okLine));
  EXPECT_FALSE(KindsCompatible(okPolyline, okPolynomial));
}

} // namespace
} // namespace drex
