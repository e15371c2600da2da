#pragma once
// The full redraw: the single place where the construction is recomputed and painted, layer by
// layer (background, axes, grid, curves, measurements, selection handles, points with names,
// locus trace), through the Canvas port.

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "expr/DS_Calc.h"
#include "kernel/construction.h"
#include "shell/settings.h"
#include "view/canvas.h"
#include "view/paint_list.h"
#include "view/view_transform.h"

namespace drex {

class Program;

/// Where a measurement's value was last drawn (pixels; 8 pixels a character wide, 8 high).
struct LabelRect {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Right = 0;
  int32_t Bottom = 0;
};

/// Calls into the parts drawn or refreshed with every redraw; a hook that is not set is skipped.
struct RedrawHooks {
  /// Paints the locus trace over the finished picture (full redraws only).
  std::function<void(Canvas&)> DrawLocusTrace;
  /// Refreshes the report on the current object (full redraws only).
  std::function<void()> RefreshReport;
  /// Enables the delete commands exactly when the argument is true.
  std::function<void(bool)> EnableDelete;
  /// Re-evaluates the dynamic expressions.
  std::function<void()> RefreshDynExprs;
};

/// Samples of a polynomial or function graph from the start to the end of its interval.
constexpr int GraphSamples = 101;

/// One sample of a function graph: its point in user units and whether it could be computed.
struct GraphSample {
  double X = 0;
  double Y = 0;
  bool Failed = false;
};

/// The samples of a function graph as its formulas and interval gave them: they change only with
/// those, and a drag would otherwise evaluate them again for every picture.
struct GraphSampleMemo {
  int FuncType = 0;
  double Start = 0;
  double End = 0;
  std::string Expr1;
  std::string Expr2;
  std::array<GraphSample, GraphSamples> Samples{};
};

/// What the picture of an object is drawn from, as far as a drag can change it.
struct DrawnState {
  double X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
  int32_t ScrX1 = 0, ScrY1 = 0, ScrX2 = 0, ScrY2 = 0;
  uint8_t Defined = 0;
};

/// The retained layers of a drag: the objects the drag changes are drawn over pictures of the
/// others until anything else is drawn. Of the objects built on what the drag moves (the
/// dependants), those whose picture stays the same for a few steps go into the layers too.
struct RetainedDrag {
  /// Stamp of the layers made, 0 while none is in use; Issued counts the stamps given out.
  uint32_t Stamp = 0;
  uint32_t Issued = 0;
  /// Set from a drag's first step on, until anything else is drawn.
  bool Active = false;
  /// The objects the drag step moved itself, from which the dependants follow.
  std::vector<uint8_t> Moved;
  /// Per object slot: built on what the drag moves; Dependants lists them in number order.
  std::vector<uint8_t> IsDependant;
  std::vector<int> Dependants;
  /// Per object slot: drawn over the layers. Moving lists those objects in number order.
  std::vector<uint8_t> IsMoving;
  std::vector<int> Moving;
  /// Per dependant: its picture's state at the last step, and the steps it has kept it.
  std::vector<DrawnState> Last;
  std::vector<uint8_t> Unchanged;
  /// What the layers were drawn for.
  TViewState View;
  int Width = 0, Height = 0, UnitLength = 0, ObjCount = 0, MeasureCount = 0;
  bool ShowHidden = false;
  Settings Config;
};

/// What the drawing keeps between redraws.
struct RedrawState {
  /// Set while a redraw runs: a redraw requested meanwhile is dropped. Always cleared on return.
  bool Busy = false;
  /// The last redraw drew selection handles for at least one object.
  bool AnySelected = false;
  /// User units between unit marks and grid dots, as the last full redraw computed it.
  double TickStep = 1;
  /// Label rectangles of measurements 1..MeasureCount (index 0 is measurement 1).
  std::array<LabelRect, MaxMeasurements> LabelRects{};
  /// The evaluator of function-graph samples; its cache keeps the shapes of the graphs' formulas.
  DS_Calc GraphCalc;
  RedrawHooks Hooks;
  /// Per object slot: drawn blanked out in this redraw (reused to spare an allocation a redraw).
  std::vector<uint8_t> BlankedScratch;
  /// Set by a caller that redraws because the mouse moved (a drag, a pan, the wheel): the next
  /// redraw may be aliased and leave the smooth picture to SettleTick. Cleared by every redraw.
  bool QuickRedraw = false;
  /// Smooth drawing whatever the construction's size: a picture made without a window has time.
  bool SmoothAnySize = false;
  /// The picture is made for a file, the clipboard or the printer: without the marks of the
  /// moment (selection handles, the construction preview, picks blanked by the blink) and
  /// without refreshing the window's report, delete commands and expressions.
  bool Clean = false;
  /// Set by a drag step, whose moved objects are marked in the operation's MovedFlags: the next
  /// redraw may draw only what the drag moves over retained layers. Cleared by every redraw.
  bool DragFrame = false;
  RetainedDrag Retained;
  /// The drawing of the redraw, recorded before the surface paints it.
  PaintList List;
  /// Samples of the function graphs, by object number.
  std::unordered_map<int, GraphSampleMemo> GraphMemo;
  /// Per object slot: the name's Windows-1251 bytes and their UTF-8 text as last drawn.
  std::vector<std::pair<std::string, std::string>> NameTexts;
};

/// Constructions larger than this are drawn aliased while the mouse drags, pans or zooms them and
/// when the blink timer paints over them: the smooth picture of a few hundred objects already takes
/// longer than a frame of a fast screen.
constexpr int SmoothWhileMovingLimit = 100;
/// Constructions larger than this are always drawn aliased: their smooth picture would keep the
/// program busy for a noticeable moment each time the mouse rests.
constexpr int SmoothDrawingLimit = 2000;
/// Rest of the mouse after which an aliased quick redraw is replaced by the smooth picture.
constexpr int SettleDelayMs = 150;
/// The face of the texts on the smooth picture.
constexpr const char* SmoothFontName = "Sans Serif";

/// The display scales the drawing honours, percent.
constexpr int MinDisplayScale = 100;
constexpr int MaxDisplayScale = 300;

/// `pixels` at a display scale of `percent` (held to MinDisplayScale..MaxDisplayScale), to the
/// nearest pixel; 100 keeps them exactly.
int ScalePixels(int percent, int pixels);

/// A graph sample whose pixel lies further above or below the surface's origin lifts the pen.
constexpr double GraphPixelLimit = 32000;

/// Recomputes and paints the construction on prog.Surface. full = true clears and paints
/// everything and ends with the locus trace and the report; full = false paints the objects over
/// the picture that is there (the blink timer's redraw), except on a smooth picture, which is
/// painted afresh without the report. Returns at once while another redraw runs.
/// Without a surface the objects are still recomputed with the last area geometry.
void Redraw(Program& prog, bool full);

/// True for the construction tools whose next object the redraw previews at the cursor once
/// their first pick is made.
bool ToolHasPreview(int toolMode);

/// The settle timer's tick: the smooth full redraw after quick aliased ones.
void SettleTick(Program& prog);

/// The value measurement i (1-based) shows on the drawing ("90°", "5"); empty when it is not
/// drawn (a point is missing or undefined, or the angle cannot be computed).
std::string MeasurementText(const Program& prog, int i);

/// The pixel of a world point (internal units) in the view of the last redraw, to the nearest
/// integers.
PixelPoint PixelOf(const Program& prog, Point2 world);

/// The step of the axis unit marks and of the grid in user units: the smallest power of ten
/// (10^-12 at least) that divides the larger visible extent plus 1 into fewer than 50 steps.
double TickStep(const ViewArea& area, int unitLength);

/// Draws the infinite line through two world points across the drawing area, from its first to
/// its second crossing with the area's edges (top, right, bottom, left). A line that misses the
/// area, touches only a corner or runs along an edge is not drawn.
void DrawClippedLine(Canvas& canvas, const TViewState& view, const ViewArea& area, Point2 a, Point2 b);

/// Plots the interpolation polynomial `number` (kind 12) with 101 samples over its node range.
void PlotPolynomial(Program& prog, Canvas& canvas, int number);

/// Plots the function graph `number` (kind 13) with 101 samples over its interval, lifting the pen
/// at samples that cannot be evaluated or lie far off; a selected graph gets ten XOR handles.
/// Updates the sample extent ExtA..ExtD of the record.
void PlotFunctionGraph(Program& prog, Canvas& canvas, int number);

/// The hit-test mode of graph plotting: true when at least one of the 101 samples of graph
/// `number` falls on a pixel of the rectangle with corners (x1, y1) and (x2, y2), borders
/// included. Draws nothing; updates the sample extent like plotting does.
bool GraphTouchesRect(Program& prog, int number, int x1, int y1, int x2, int y2);

} // namespace drex
