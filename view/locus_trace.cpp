#include "view/locus_trace.h"

#include <cmath>

#include "dialogs/object_list.h"
#include "interaction/tool_modes.h"
#include "shell/command_table.h"
#include "shell/program.h"
#include "view/canvas.h"
#include "view/redraw.h"

namespace drex {
namespace {

bool IsTraceable(const Program& prog, int n) {
  return n >= 1 && n <= prog.Doc.ObjCount && IsPointKind(prog.Doc[n].Kind);
}

void RecordPosition(Program& prog, const TGeomObject& point) {
  LocusTrace& trace = prog.Locus;
  if (trace.Index > 0) {
    const Point2 newest = trace.Entries[static_cast<std::size_t>(trace.Index - 1)];
    if (std::fabs(point.X1 - newest.x) < LocusTraceMinStep && std::fabs(point.Y1 - newest.y) < LocusTraceMinStep)
      return;
  }
  if (++trace.Index > LocusTraceCapacity) {
    trace.Index = 1;
    trace.Wrapped = true;
  }
  trace.Entries[static_cast<std::size_t>(trace.Index - 1)] = Point2{point.X1, point.Y1};
  prog.Desktop.StartTimer(TimerId::TraectTime, LocusTraceIntervalMs);
}

} // namespace

int LocusTraceLength(const LocusTrace& trace) { return trace.Wrapped ? LocusTraceCapacity : trace.Index; }

Point2 LocusTraceEntry(const LocusTrace& trace, int k) {
  const int first = trace.Wrapped ? trace.Index : 0;
  return trace.Entries[static_cast<std::size_t>((first + k) % LocusTraceCapacity)];
}

LocusCommandLook LocusCommandState(const Program& prog) {
  if (prog.LocusPoint > 0) return {prog.Msgs[52], prog.Msgs[53], ImageStopGMT};
  return {prog.Msgs[44], prog.Msgs[45], ImageShowGMT};
}

void ToggleLocus(Program& prog, const std::string& hint) {
  if (prog.LocusPoint < 1) {
    AbortOperation(prog);
    prog.Op.LocusPickPending = true;
    prog.ShowPrompt(hint + ": " + prog.Msgs[46]);
    prog.EnableAbort();
    return;
  }
  prog.LocusPoint = 0;
  AbortOperation(prog);
}

void LocusPick(Program& prog, int object) {
  if (!IsTraceable(prog, object)) return;
  // Set before the operation ends, so that the redraw that ends it records the first position.
  prog.LocusPoint = object;
  prog.Locus = LocusTrace{};
  AbortOperation(prog);
}

void ClearLocus(Program& prog) {
  prog.LocusPoint = 0;
  prog.Locus = LocusTrace{};
}

void DrawLocus(Program& prog, Canvas& canvas) {
  const int p = prog.LocusPoint;
  if (!IsTraceable(prog, p)) return;
  const TGeomObject& point = prog.Doc[p];
  if (point.Defined && !prog.Desktop.TimerRunning(TimerId::TraectTime)) RecordPosition(prog, point);

  const LocusTrace& trace = prog.Locus;
  const int count = LocusTraceLength(trace);
  if (count < 2) return;
  const CanvasPen pen = canvas.Pen();
  canvas.SetPen(CanvasPen{point.Color, PenStyle::Solid, ScalePixels(prog.Config.DisplayScale, 1), PenMode::Copy});
  for (int k = 0; k < count; ++k) {
    const PixelPoint p = PixelOf(prog, LocusTraceEntry(trace, k));
    if (k == 0)
      canvas.MoveTo(p.X, p.Y);
    else
      canvas.LineTo(p.X, p.Y);
  }
  canvas.SetPen(pen);
}

void LocusTraceTick(Program& prog) { prog.Desktop.StopTimer(TimerId::TraectTime); }

void StartStepDisplay(Program& prog, const std::string& hint) {
  if (prog.Doc.ObjCount < 1) return;
  AbortOperation(prog);
  prog.EnableAbort();
  OperationState& op = prog.Op;
  op.StepPos = 1;
  Redraw(prog, true);
  prog.ShowPrompt(hint + ": " + prog.Msgs[41]);
  op.PickCount = 1;
  prog.Desktop.StartTimer(TimerId::Blic, BlinkIntervalMs);
  ObjListClick(prog, 0);
}

void StepClick(Program& prog) {
  OperationState& op = prog.Op;
  const int count = prog.Doc.ObjCount;
  // Objects that cannot be built are skipped; their Defined flags are those of the full redraw
  // made when the display started.
  do
    ++op.StepPos;
  while (op.StepPos <= count && !prog.Doc[op.StepPos].Defined);
  if (op.StepPos > count) {
    AbortOperation(prog);
    return;
  }
  ObjListClick(prog, op.StepPos - 1);
}

} // namespace drex
