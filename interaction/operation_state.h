#pragma once
// The state of the interactive operation that is running (construction tool, measurement,
// transformation, macro, locus pick, step display) and of the mouse over the drawing area.

#include <cstdint>
#include <string>
#include <vector>

#include "kernel/geom_object.h"

namespace drex {

/// The button of a press, release or double click; for a move, the button held (Left when the
/// left button is down, None when no button is).
enum class MouseButton { None, Left, Right, Middle };

/// Interval of the blink timer of picked objects.
constexpr int BlinkIntervalMs = 200;
/// Pixels within which the cursor is on an object (a distance of exactly this is a miss).
constexpr int HitTolerance = 5;
/// Longest operation prompt prefix, in characters.
constexpr int PromptPrefixCapacity = 255;

/// The running operation (reset by AbortOperation) and the state of the mouse handling.
struct OperationState {
  OperationState() : PickList(MaxObjects, 0), MovedFlags(SlotCount, 0) {}

  int ToolMode = 0;       ///< kind to build + 1, 0 = no construction tool
  int MeasureMode = 0;    ///< 1 angle, 2 distance, -1 removing a shown measurement
  int TransformMode = 0;  ///< 1 translation, 2 rotation by mouse
  int MacroState = 0;     ///< macro recording stage
  int MacroApplyStep = 0; ///< macro application stage
  int StepPos = 0;        ///< step-by-step display position, 0 = off
  bool LocusPickPending = false;
  /// Kind of the source a macro being applied waits for, -1 when none.
  int MacroAwaitedKind = -1;

  /// Objects picked by the running operation, in order; the first PickCount entries are used.
  std::vector<int16_t> PickList;
  int PickCount = 0;
  std::string PromptPrefix; ///< UTF-8, at most 255 characters
  int HotObject = 0;        ///< object under the cursor, 0 for none
  bool OperationActive = false;
  bool BlinkPhase = true;  ///< picked objects drawn (true) or blanked (false)
  int MacroMakeImage = 50; ///< image of the macro-recording tool button
  /// World positions (internal units) of the clicks that made the first and second pick of a
  /// transformation by mouse.
  double TransformX0 = 0, TransformY0 = 0, TransformX1 = 0, TransformY1 = 0;

  // The mouse over the drawing area.
  int16_t DragObject = 0;                  ///< object pressed with no operation running, 0 after release
  double DragOffsetX = 0, DragOffsetY = 0; ///< mouse minus (X1, Y1) of DragObject at the press
  int PrevScreenX = 0, PrevScreenY = 0;    ///< pixel of the last move
  bool RubberBand = false;
  double RubberStartX = 0, RubberStartY = 0; ///< world corner where the band started
  bool RubberDrawn = false;                  ///< a band rectangle is on the picture
  int RubberEndX = 0, RubberEndY = 0;        ///< pixel corner of the drawn band rectangle
  std::vector<uint8_t> MovedFlags;           ///< objects the drag step moved itself
  int MeasureLabel = 0;                      ///< shown measurement whose label is under the cursor, 0 for none
  int WheelRest = 0;                         ///< wheel turn short of a notch, eighths of a degree
  double PinchRest = 1;                      ///< pinch scale short of a zoom step
  bool PreviewShown = false;                 ///< the cursor is on the drawing area: the tool's preview follows it
  bool InMouseMove = false;
  bool InHitTest = false;
  bool DblClickMarker = false; ///< the next press starts no rubber band
  int Cursor = 0;              ///< cursor number last set on the drawing area
  std::string StatusLine;      ///< text of the status line (UTF-8)
};

} // namespace drex
