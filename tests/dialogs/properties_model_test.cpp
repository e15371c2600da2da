#include "dialogs/properties_model.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <string>

#include "kernel/cp1251.h"
#include "shell/commands.h"
#include "shell/program.h"
#include "support/construction_builder.h"
#include "support/recording_canvas.h"
#include "support/scripted_platform.h"
#include "view/redraw.h"

namespace drex {
namespace {

constexpr int Unit = 100; // the program's UnitLength before a window sets it

class PropertiesTest : public ::testing::Test {
protected:
  PropertiesTest() {
    prog.Surface = &canvas;
    InstallShellHooks(prog);
    Redraw(prog, true);
  }

  /// The form the dialog runs: `edit` plays the user's part, then "Застосувати" is pressed once
  /// (or the dialog is cancelled when `ok` is false). Records whether Confirm let it close.
  void Form(std::function<void(PropertiesModel&)> edit, bool ok = true) {
    prog.PropertiesForm = [this, edit, ok](PropertiesModel& m) {
      ++formRuns;
      if (edit) edit(m);
      if (!ok) return false;
      confirmed = m.Confirm();
      return confirmed;
    };
  }
  static int Pick(PropertiesModel& m, int list, int object) {
    ParentList& l = m.Parents[static_cast<std::size_t>(list)];
    for (std::size_t k = 0; k < l.Candidates.size(); ++k)
      if (l.Candidates[k] == object) return l.Chosen = static_cast<int>(k);
    ADD_FAILURE() << "object " << object << " is not offered in list " << list;
    return -1;
  }
  std::string Name(int n) const { return Cp1251ToUtf8(prog.Doc[n].Name.Bytes()); }
  static bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

  ScriptedPlatform desk;
  Program prog{desk};
  RecordingCanvas canvas{800, 600};
  ConstructionBuilder b{prog.Doc};
  int formRuns = 0;
  bool confirmed = false;
};

TEST_F(PropertiesTest, PointCoordinatesKeepTheirValueUnlessTyped) {
  const int p = b.Point(12.34 * Unit, 5.678 * Unit);
  const double x = prog.Doc[p].X1, y = prog.Doc[p].Y1;
  Form([](PropertiesModel& m) {
    EXPECT_EQ(m.X, "12.34");
    m.ColorPos = 9; // red
  });
  EXPECT_TRUE(OpenPropertiesDialog(prog, p));
  EXPECT_EQ(prog.Doc[p].Color, ColorPalette[9].Value);
  EXPECT_TRUE(SameBits(prog.Doc[p].X1, x));
  EXPECT_TRUE(SameBits(prog.Doc[p].Y1, y));
  EXPECT_TRUE(prog.Modified);

  // A cell that is not a number is refused and the dialog stays open; typed numbers are taken.
  desk.ExpectMessage(prog.Msgs[4], mbOK, mbOK);
  Form([](PropertiesModel& m) {
    m.X = "1,5";
    EXPECT_FALSE(m.Confirm());
    m.X = " -2.5 ";
    m.Y = "+3";
  });
  EXPECT_TRUE(OpenPropertiesDialog(prog, p));
  EXPECT_DOUBLE_EQ(prog.Doc[p].X1, -2.5 * Unit);
  EXPECT_DOUBLE_EQ(prog.Doc[p].Y1, 3.0 * Unit);
}

TEST_F(PropertiesTest, NamesAreCheckedAsTheyWillBeStored) {
  const int a = b.Point(0, 0);
  const int p = b.Point(100, 0);
  prog.Doc[a].Name.Assign(Utf8ToCp1251("довженнаназваточкиА1"));
  desk.ExpectMessage(prog.Msgs[10], mbOK, mbOK);
  desk.ExpectMessage(FormatMsg(prog.Msgs[11], {"довженнаназваточкиА1 і ще"}), mbOK, mbOK);
  Form([&](PropertiesModel& m) {
    m.ObjName1 = "A(1)";
    EXPECT_FALSE(m.Confirm());
    // Cut to 20 characters this is the other point's name.
    m.ObjName1 = "довженнаназваточкиА1 і ще";
    EXPECT_FALSE(m.Confirm());
    m.ObjName1 = Name(p); // its own name is accepted
  });
  EXPECT_TRUE(OpenPropertiesDialog(prog, p));
  EXPECT_TRUE(confirmed);
}

TEST_F(PropertiesTest, ParentListsOfferNeitherTheObjectNorItsDependants) {
  // A point made first, built on the midpoint made after it (a reference to a later object).
  const int early = b.Raw(okMidpoint, {});
  const int a = b.Point(0, 0), c = b.Point(100, 0), d = b.Point(0, 100);
  const int mid = b.Midpoint(a, c);
  const int line = b.Line(mid, d);
  const int later = b.Point(50, 50);
  b.PointOn(line, 0, 50);
  prog.Doc[early].Refs[1] = static_cast<int16_t>(mid);
  prog.Doc[early].Refs[2] = static_cast<int16_t>(d);
  prog.Doc[early].RefCount = 2;
  Form([&](PropertiesModel& m) {
    ASSERT_EQ(m.Parents.size(), 2u);
    EXPECT_STREQ(m.Parents[0].Control, "cd1");
    const std::vector<int> offered = {a, c, d, later};
    EXPECT_EQ(m.Parents[0].Candidates, offered);
    EXPECT_EQ(m.Parents[0].ChosenObject(), a);
    EXPECT_EQ(m.Parents[1].ChosenObject(), c);
    Pick(m, 1, later);
  });
  EXPECT_TRUE(OpenPropertiesDialog(prog, mid));
  EXPECT_EQ(prog.Doc[mid].Ref(2), later);

  // The same point twice, or an empty list, is refused.
  desk.ExpectMessage(prog.Msgs[12], mbOK, mbOK);
  desk.ExpectMessage(prog.Msgs[12], mbOK, mbOK);
  Form(
      [&](PropertiesModel& m) {
        Pick(m, 1, mid);
        EXPECT_FALSE(m.Confirm());
        m.Parents[1].Chosen = -1;
        EXPECT_FALSE(m.Confirm());
      },
      false);
  EXPECT_FALSE(OpenPropertiesDialog(prog, line));
  EXPECT_EQ(prog.Doc[line].Ref(1), mid);
}

TEST_F(PropertiesTest, DuplicateNamesFromADocumentPickTheObjectShown) {
  const int first = b.Point(0, 0), second = b.Point(100, 0), third = b.Point(0, 100);
  prog.Doc[second].Name = prog.Doc[first].Name; // two objects named alike, as a file may hold them
  const int line = b.Line(third, second);
  Form([&](PropertiesModel& m) {
    EXPECT_EQ(m.CandidateName(1, 0), m.CandidateName(1, 1));
    Pick(m, 1, first);
  });
  EXPECT_TRUE(OpenPropertiesDialog(prog, line));
  EXPECT_EQ(prog.Doc[line].Ref(2), first);
}

TEST_F(PropertiesTest, UncheckedPointOnObjectBecomesAFreePointAtTheTypedPosition) {
  const int a = b.Point(0, 0), c = b.Point(200, 0);
  const int line = b.Line(a, c);
  Redraw(prog, true);
  const int p = b.PointOn(line, 100, 0);
  Redraw(prog, true);
  Form([&](PropertiesModel& m) {
    EXPECT_TRUE(m.Attached);
    EXPECT_EQ(m.AttachedCaption(), FormatMsg(prog.Msgs[70], {Name(line)}));
    m.Attached = false;
    m.Y = "3";
  });
  EXPECT_TRUE(OpenPropertiesDialog(prog, p));
  EXPECT_EQ(prog.Doc[p].Kind, okPoint);
  EXPECT_EQ(prog.Doc[p].RefCount, 0);
  EXPECT_DOUBLE_EQ(prog.Doc[p].X1, 100);
  EXPECT_DOUBLE_EQ(prog.Doc[p].Y1, 3.0 * Unit);
}

TEST_F(PropertiesTest, IntersectionGetsItsTwinOnlyWhenNew) {
  const int a = b.Point(-200, 0), c = b.Point(200, 0), o = b.Point(0, 0), q = b.Point(100, 0);
  const int line = b.Line(a, c);
  const int circle = b.Circle(o, q);
  Form([&](PropertiesModel& m) {
    Pick(m, 0, circle);
    Pick(m, 1, line);
  });
  MenuClick(prog, 104);
  ASSERT_EQ(prog.Doc.ObjCount, circle + 2);
  const int x = circle + 1;
  EXPECT_EQ(prog.Doc[x].Ref(1), line) << "the line goes first";
  EXPECT_EQ(prog.Doc[x + 1].RootNo(), 2);
  EXPECT_DOUBLE_EQ(std::abs(prog.Doc[x].X1), 100);

  Form([&](PropertiesModel& m) { m.ObjName1 = "X"; });
  EXPECT_TRUE(OpenPropertiesDialog(prog, x + 1));
  EXPECT_EQ(prog.Doc.ObjCount, circle + 2);
  EXPECT_EQ(prog.Doc[x + 1].RootNo(), 2);
  EXPECT_DOUBLE_EQ(prog.Doc[x + 1].X1, -prog.Doc[x].X1);
}

TEST_F(PropertiesTest, ClosedPolylineOpensWithItsVerticesAndCancelLeavesItAlone) {
  const int a = b.Point(0, 0), c = b.Point(100, 0), d = b.Point(0, 100);
  const int poly = b.Polyline({a, c, d}, true);
  const TGeomObject before = prog.Doc[poly];
  Form(
      [&](PropertiesModel& m) {
        ASSERT_EQ(m.Rows.size(), 3u);
        EXPECT_TRUE(m.Closed);
        EXPECT_EQ(m.Rows[1].X, "1");
        m.CurrentRow = 1;
        EXPECT_TRUE(m.VertexButton(AddVertexTag));
        EXPECT_TRUE(m.VertexButton(ClearVertexTag));
      },
      false);
  EXPECT_FALSE(OpenPropertiesDialog(prog, poly));
  EXPECT_EQ(std::memcmp(&before.Refs, &prog.Doc[poly].Refs, sizeof before.Refs), 0);
  EXPECT_EQ(prog.Doc[poly].RefCount, 4);

  Form([](PropertiesModel&) {});
  EXPECT_TRUE(OpenPropertiesDialog(prog, poly));
  EXPECT_EQ(prog.Doc[poly].RefCount, 4);
  EXPECT_EQ(prog.Doc[poly].Ref(4), a);
}

TEST_F(PropertiesTest, PolylineByParametersPutsItsNewPointsFirst) {
  const int existing = b.Point(0, 0);
  Form([&](PropertiesModel& m) {
    ASSERT_EQ(m.Rows.size(), 3u);
    m.Rows[0].X = "0", m.Rows[0].Y = "0";
    m.Rows[1].X = "2", m.Rows[1].Y = "0";
    m.Rows[2].X = "0", m.Rows[2].Y = "2";
    int row = 2, column = 2;
    m.GridEnter(row, column); // Enter on the last cell adds a row
    EXPECT_EQ(row, 3);
    EXPECT_EQ(m.Rows.size(), 4u);
    m.Rows[3].X = "1", m.Rows[3].Y = "1";
    m.GridEnter(row, column), m.GridEnter(row, column); // a blank row stands for no vertex
    EXPECT_EQ(m.Rows.size(), 5u);
    m.Closed = true;
    m.Filled = true;
    m.FillColorPos = 12;
  });
  MenuClick(prog, 111);
  ASSERT_EQ(prog.Doc.ObjCount, existing + 5);
  const int poly = prog.Doc.ObjCount;
  const TGeomObject& o = prog.Doc[poly];
  EXPECT_EQ(o.Kind, okPolyline);
  EXPECT_EQ(o.RefCount, 5);
  for (int k = 1; k <= 4; ++k)
    EXPECT_EQ(o.Ref(k), existing + k) << "vertex " << k << " is made before the polyline";
  EXPECT_EQ(o.Ref(5), o.Ref(1));
  EXPECT_TRUE(o.Filled());
  EXPECT_EQ(o.FillColor(), ColorPalette[12].Value);
  EXPECT_DOUBLE_EQ(prog.Doc[existing + 2].X1, 2.0 * Unit);
  EXPECT_TRUE(o.Defined);
  EXPECT_EQ(prog.List.Current, poly - 1);
}

TEST_F(PropertiesTest, VertexTablesAreRefusedOutsideWhatTheRecordHolds) {
  const int poly = b.Polyline({b.Point(0, 0), b.Point(100, 0)});
  desk.ExpectMessage(prog.Msgs[12], mbOK, mbOK);
  desk.ExpectMessage(prog.Msgs[12], mbOK, mbOK);
  desk.ExpectMessage(prog.Msgs[4], mbOK, mbOK);
  Form(
      [&](PropertiesModel& m) {
        EXPECT_FALSE(m.CanRemoveRow());
        m.Rows.pop_back();
        EXPECT_FALSE(m.Confirm()) << "one vertex";
        m.Rows.resize(MaxPolylineRefs);
        m.Closed = true;
        for (VertexRow& r : m.Rows)
          if (r.Ref == 0) r.X = r.Y = "1";
        EXPECT_FALSE(m.Confirm()) << "503 vertices closed need 504 references";
        m.Closed = false;
        int row = MaxPolylineRefs - 1, column = 2;
        m.GridEnter(row, column);
        EXPECT_EQ(m.Rows.size(), static_cast<std::size_t>(MaxPolylineRefs)) << "Enter adds no row past the room";
        m.Rows[5].Y = "x";
        EXPECT_FALSE(m.Confirm());
      },
      false);
  EXPECT_FALSE(OpenPropertiesDialog(prog, poly));

  const int poly2 = b.Polynomial({b.Point(0, 0), b.Point(100, 100)});
  Form(
      [&](PropertiesModel& m) {
        while (m.VertexButton(AddVertexTag)) {
        }
        EXPECT_EQ(m.Rows.size(), static_cast<std::size_t>(MaxPolynomialNodes));
      },
      false);
  EXPECT_FALSE(OpenPropertiesDialog(prog, poly2));
}

TEST_F(PropertiesTest, NewObjectsNeverTakeTheTablePastItsLimit) {
  while (prog.Doc.ObjCount < MaxObjects - 4)
    b.Point(0, 0);
  desk.ExpectMessage(prog.ObjectLimitMessage(), mbOK, mbOK);
  Form([&](PropertiesModel& m) {
    for (VertexRow& r : m.Rows)
      r.X = r.Y = "1";
    m.VertexButton(AddVertexTag);
    m.Rows[0].X = m.Rows[0].Y = "2";
    EXPECT_FALSE(m.Confirm()) << "the polyline and four new points do not fit";
    m.VertexButton(RemoveVertexTag);
  });
  MenuClick(prog, 111);
  EXPECT_EQ(prog.Doc.ObjCount, MaxObjects);
  EXPECT_EQ(prog.Doc[MaxObjects].Kind, okPolyline);

  desk.ExpectMessage(prog.ObjectLimitMessage(), mbOK, mbOK);
  MenuClick(prog, 101);
  EXPECT_EQ(prog.Doc.ObjCount, MaxObjects);
}

TEST_F(PropertiesTest, CreationCommandsDropTheObjectWhenCancelledOrImpossible) {
  const int before = prog.Doc.ObjCount;
  desk.ExpectMessage(prog.Msgs[38], mbOK, mbOK);
  Form([](PropertiesModel&) {});
  MenuClick(prog, 102); // no point to build a midpoint on
  EXPECT_EQ(formRuns, 0);
  EXPECT_EQ(prog.Doc.ObjCount, before);

  prog.MouseWorldX = 150, prog.MouseWorldY = -50;
  Form([](PropertiesModel& m) { EXPECT_EQ(m.X, "1.5"); }, false);
  MenuClick(prog, 101);
  EXPECT_EQ(prog.Doc.ObjCount, before);
  EXPECT_FALSE(prog.Modified);

  Form([](PropertiesModel& m) { m.Y = "-0.5"; });
  MenuClick(prog, 101);
  ASSERT_EQ(prog.Doc.ObjCount, before + 1);
  EXPECT_DOUBLE_EQ(prog.Doc[before + 1].Y1, -50);
  EXPECT_TRUE(prog.Modified);
}

TEST_F(PropertiesTest, GraphPageChecksItsFieldsAsTheyAreTyped) {
  Form([&](PropertiesModel& m) {
    EXPECT_EQ(m.GraphText[0], "x");
    EXPECT_EQ(m.GraphText[2], "-5");
    EXPECT_TRUE(m.OkEnabled());
    m.GraphFieldChanged(GraphField::F1, "sin(x");
    EXPECT_TRUE(m.GraphRed[0]);
    EXPECT_FALSE(m.OkEnabled());
    // Two operands side by side are refused before anything is evaluated at the probe point.
    m.GraphFieldChanged(GraphField::F1, "xsqrt(x-1)");
    EXPECT_TRUE(m.GraphRed[0]);
    m.GraphFieldChanged(GraphField::F1, "sqrt(x-1)"); // undefined at the probe point, but well formed
    EXPECT_FALSE(m.GraphRed[0]);
    m.GraphFieldChanged(GraphField::F1, "sin(x)");
    m.GraphFieldChanged(GraphField::Left1, "");
    EXPECT_EQ(m.FormulaError, 8);
    EXPECT_FALSE(m.GraphRed[0]) << "only the field at fault is red";
    m.GraphFieldChanged(GraphField::Left1, "-2*pi");
    m.GraphFieldChanged(GraphField::Right1, "2*pi"); // confirmed before the field is left
    m.GraphFieldExit(GraphField::F1);
    EXPECT_EQ(m.GraphText[0], "SIN(X)");
    EXPECT_EQ(m.History(HistoryField::F1).front(), "SIN(X)");
    m.GraphFieldExit(GraphField::Left1);
    EXPECT_EQ(m.GraphText[2], "-6.2831852");
    // The y(T) formula counts for the parametric type only.
    m.GraphFieldChanged(GraphField::F2, "t+");
    EXPECT_TRUE(m.OkEnabled());
    m.SetFuncType(1);
    EXPECT_EQ(m.Label1(), "x(T)=");
    EXPECT_EQ(m.LabelL1(), "від t=");
    EXPECT_FALSE(m.OkEnabled()) << "X is no variable of x(T), and y(T) is unfinished";
    m.SetFuncType(0);
  });
  MenuClick(prog, 114);
  ASSERT_EQ(prog.Doc.ObjCount, 1);
  const TGeomObject& g = prog.Doc[1];
  EXPECT_EQ(g.Expr1.Bytes(), "SIN(X)");
  EXPECT_DOUBLE_EQ(g.X1, -6.2831852);
  EXPECT_DOUBLE_EQ(g.Y1, 6.2831852);
  EXPECT_EQ(g.FuncType, 1);
}

TEST(Keypad, EditsAroundTheCaretAndSelection) {
  std::string text = "sin(x)";
  int caret = 4;
  KeypadPress("Pi", text, caret, 4, 1); // replaces the selected x
  EXPECT_EQ(text, "sin(Pi)");
  EXPECT_EQ(caret, 6);
  KeypadPress("BS", text, caret, 0, 0);
  EXPECT_EQ(text, "sin(P)");
  caret = 0;
  KeypadPress("Del", text, caret, 0, 0);
  EXPECT_EQ(text, "in(P)");
  KeypadPress("BS", text, caret, 0, 0); // nothing before the caret
  EXPECT_EQ(text, "in(P)");
  text = "ф+1";
  caret = 1;
  KeypadPress("Del", text, caret, 0, 0); // characters, not bytes
  EXPECT_EQ(text, "ф1");
}

} // namespace
} // namespace drex
