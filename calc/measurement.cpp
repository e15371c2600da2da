#include "calc/measurement.h"

#include <algorithm>

#include "calc/dyn_expr.h"
#include "interaction/tool_modes.h"
#include "kernel/construction.h"
#include "shell/program.h"
#include "shell/undo_command.h"
#include "view/redraw.h"

namespace drex {
namespace {

bool IsPoint(const Program& prog, int n) { return n >= 1 && n <= prog.Doc.ObjCount && IsPointKind(prog.Doc[n].Kind); }

bool Picked(const OperationState& op, int n) {
  const auto end = op.PickList.begin() + std::clamp<int>(op.PickCount, 0, static_cast<int>(op.PickList.size()));
  return std::find(op.PickList.begin(), end, n) != end;
}

void AddMeasurement(Program& prog) {
  OperationState& op = prog.Op;
  Construction& doc = prog.Doc;
  if (doc.MeasureCount >= MaxMeasurements) {
    AbortOperation(prog);
    prog.Desktop.MessageBox(MsgType::Error, MeasureLimitMessage(prog), mbOK);
    return;
  }
  Measurement m;
  m.Type = static_cast<uint8_t>(op.MeasureMode - 1);
  m.Objects = {op.PickList[0], op.PickList[1], op.MeasureMode == 1 ? op.PickList[2] : int16_t{0}};
  doc.Measurements[static_cast<std::size_t>(doc.MeasureCount)] = m;
  ++doc.MeasureCount;
  AbortOperation(prog);
  RecordStep(prog, StepAction::Edit);
}

void RemoveMeasurement(Program& prog, int i) {
  Construction& doc = prog.Doc;
  const int count = std::clamp<int>(doc.MeasureCount, 0, MaxMeasurements);
  if (i < 1 || i > count) return;
  auto& list = doc.Measurements;
  auto& rects = prog.Drawing.LabelRects;
  std::move(list.begin() + i, list.begin() + count, list.begin() + i - 1);
  std::move(rects.begin() + i, rects.begin() + count, rects.begin() + i - 1);
  list[static_cast<std::size_t>(count - 1)] = Measurement{};
  rects[static_cast<std::size_t>(count - 1)] = LabelRect{};
  doc.MeasureCount = static_cast<int16_t>(count - 1);
  prog.Op.MeasureLabel = 0;
  AbortOperation(prog);
  RecordStep(prog, StepAction::Edit);
}

} // namespace

std::string MeasureLimitMessage(const Program& prog) {
  return CalcTextOf(prog, "c_MeasureLimit") + " " + std::to_string(MaxMeasurements) + ".";
}

void StartMeasurement(Program& prog, int tag, const std::string& hint) {
  if (tag != 31 && tag != 32) return;
  if (prog.Doc.MeasureCount >= MaxMeasurements) {
    prog.Desktop.MessageBox(MsgType::Error, MeasureLimitMessage(prog), mbOK);
    return;
  }
  AbortOperation(prog);
  OperationState& op = prog.Op;
  op.MeasureMode = tag - 30;
  op.PromptPrefix = CutToChars(hint + ": " + prog.Msgs[op.MeasureMode == 1 ? 36 : 37], PromptPrefixCapacity);
  prog.ShowPrompt(op.PromptPrefix);
  prog.EnableAbort();
  prog.Desktop.StartTimer(TimerId::Blic, BlinkIntervalMs);
}

void StartMeasureRemoval(Program& prog, const std::string& hint) {
  AbortOperation(prog);
  OperationState& op = prog.Op;
  op.MeasureMode = -1;
  op.PromptPrefix = CutToChars(hint, PromptPrefixCapacity);
  prog.ShowPrompt(op.PromptPrefix);
  prog.EnableAbort();
}

void MeasurementClick(Program& prog) {
  OperationState& op = prog.Op;
  if (op.MeasureMode < 0) {
    RemoveMeasurement(prog, op.MeasureLabel);
    return;
  }
  if (op.MeasureMode == 0 || !IsPoint(prog, op.HotObject) || Picked(op, op.HotObject)) return;
  op.PickList[static_cast<std::size_t>(op.PickCount)] = static_cast<int16_t>(op.HotObject);
  ++op.PickCount;
  if (op.PickCount >= (op.MeasureMode == 1 ? 3 : 2))
    AddMeasurement(prog);
  else
    Redraw(prog, true);
}

} // namespace drex
