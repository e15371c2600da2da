#pragma once
// A user's session at the drawing area for the scenario tests: a program with a strict desktop and
// a recording canvas of 800 × 600 pixels, the view at one pixel per internal unit, so that pixel
// (px, py) is world point (px − 400, 300 − py).

#include <gtest/gtest.h>

#include <string>

#include "interaction/place_mouse.h"
#include "interaction/tool_modes.h"
#include "shell/program.h"
#include "support/recording_canvas.h"
#include "support/scripted_platform.h"
#include "view/redraw.h"

namespace drex::test {

constexpr int AreaWidth = 800;
constexpr int AreaHeight = 600;

/// World point of pixel (px, py) in the session's view.
constexpr double WorldX(int px) { return px - AreaWidth / 2; }
constexpr double WorldY(int py) { return AreaHeight / 2 - py; }

/// Menu tags of the construction tools.
enum ToolTag : int {
  PointTool = 11,
  MidpointTool = 12,
  IntersectionTool = 14,
  SymmetricTool = 15,
  LineTool = 16,
  ParallelTool = 17,
  PerpendicularTool = 18,
  BisectorTool = 19,
  TangentTool = 20,
  PolylineTool = 21,
  CircleTool = 22,
  PolynomialTool = 23,
};

class Session : public ::testing::Test {
protected:
  Session() {
    prog.Surface = &canvas;
    Redraw(prog, true);
  }

  /// Starts a tool as the menu does, with a hint of our own.
  void Tool(int tag) { StartTool(prog, tag, Hint); }

  void Move(int x, int y, MouseButton held = MouseButton::None, bool shift = false, bool ctrl = false) {
    PlaceMouseMove(prog, held, shift, ctrl, x, y);
  }
  /// Move there, press and release the left button.
  void Click(int x, int y, bool shift = false) {
    Move(x, y);
    PlaceMouseDown(prog, MouseButton::Left, shift, false, x, y);
    PlaceMouseUp(prog, MouseButton::Left, shift, false, x, y);
  }
  void RightClick(int x, int y) {
    Move(x, y);
    PlaceMouseDown(prog, MouseButton::Right, false, false, x, y);
    PlaceMouseUp(prog, MouseButton::Right, false, false, x, y);
  }
  /// Press the left button at (x0, y0), move with it held to (x1, y1) in `steps` moves, release.
  void Drag(int x0, int y0, int x1, int y1, int steps = 1, bool shift = false, bool ctrl = false) {
    Move(x0, y0);
    PlaceMouseDown(prog, MouseButton::Left, shift, ctrl, x0, y0);
    for (int k = 1; k <= steps; ++k)
      Move(x0 + (x1 - x0) * k / steps, y0 + (y1 - y0) * k / steps, MouseButton::Left, shift, ctrl);
    PlaceMouseUp(prog, MouseButton::Left, shift, ctrl, x1, y1);
  }

  /// Objects built directly, as a loaded document would hold them.
  int FreePoint(int px, int py) {
    prog.MouseWorldX = WorldX(px);
    prog.MouseWorldY = WorldY(py);
    return prog.AppendObject(okPoint);
  }
  int Built(int kind, std::initializer_list<int> refs) {
    const int n = prog.AppendObject(kind);
    TGeomObject& o = prog.Doc[n];
    int k = 0;
    for (int r : refs)
      o.Refs[static_cast<std::size_t>(++k)] = static_cast<int16_t>(r);
    o.RefCount = static_cast<int16_t>(k);
    return n;
  }
  /// Redraws the objects built directly and takes them as the loaded state the history starts from.
  void Refresh() {
    Redraw(prog, true);
    prog.History.Reset(prog.Doc);
  }

  TGeomObject& Obj(int n) { return prog.Doc[n]; }
  int Count() const { return prog.Doc.ObjCount; }
  std::string Caption(int n) const { return ObjectCaption(prog.Doc, n, prog.Kinds); }

  const std::string Hint = "Створення";
  ScriptedPlatform desk;
  Program prog{desk};
  RecordingCanvas canvas{AreaWidth, AreaHeight};
};

} // namespace drex::test
