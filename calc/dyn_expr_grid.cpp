#include <algorithm>
#include <filesystem>
#include <system_error>

#include "calc/dyn_expr.h"
#include "calc/expr_dialog_model.h"
#include "documents/file_io.h"
#include "expr/format_answer.h"
#include "kernel/construction.h"
#include "kernel/cp1251.h"
#include "shell/program.h"
#include "shell/undo_command.h"

namespace drex {
namespace fs = std::filesystem;
namespace {

std::string RowKey(const TDynExpr& e) { return e.Text.Bytes() + '\0' + e.DisplayName.Bytes(); }

std::string Caption(const TDynExpr& e) {
  return Cp1251ToUtf8(e.DisplayName.Len > 0 ? e.DisplayName.Bytes() : e.Text.Bytes());
}

int ExprCount(const Program& prog) { return std::clamp<int>(prog.Doc.DynExprCount, 0, MaxDynExprs); }

/// Brings the grid's rows in step with the document's table: a row whose expression is still
/// there keeps its frozen cells (the first unused row with the same formula and name), a new one
/// gets empty cells.
void SyncRows(Program& prog) {
  DynExprGrid& grid = prog.ExprGrid;
  const int count = ExprCount(prog);
  bool same = static_cast<int>(grid.RowKeys.size()) == count;
  for (int r = 0; r < count && same; ++r)
    same = grid.RowKeys[static_cast<std::size_t>(r)] == RowKey(prog.Doc.DynExprs[static_cast<std::size_t>(r)]);
  if (same) return;

  std::vector<std::string> keys(static_cast<std::size_t>(count));
  std::vector<std::vector<std::string>> frozen(grid.Frozen.size(),
                                               std::vector<std::string>(static_cast<std::size_t>(count)));
  std::vector<bool> used(grid.RowKeys.size(), false);
  std::vector<bool> matched(static_cast<std::size_t>(count), false);
  int current = -1;
  const auto take = [&](std::size_t row, std::size_t old) {
    used[old] = true;
    matched[row] = true;
    for (std::size_t col = 0; col < frozen.size(); ++col)
      if (old < grid.Frozen[col].size()) frozen[col][row] = grid.Frozen[col][old];
    if (static_cast<int>(old) == grid.Current) current = static_cast<int>(row);
  };
  for (int r = 0; r < count; ++r) {
    const std::size_t row = static_cast<std::size_t>(r);
    keys[row] = RowKey(prog.Doc.DynExprs[row]);
    for (std::size_t old = 0; old < grid.RowKeys.size(); ++old)
      if (!used[old] && grid.RowKeys[old] == keys[row]) {
        take(row, old);
        break;
      }
  }
  // An expression edited in place keeps its row and the values frozen in it.
  if (grid.RowKeys.size() == keys.size())
    for (std::size_t row = 0; row < keys.size(); ++row)
      if (!matched[row] && !used[row]) take(row, row);
  grid.RowKeys = std::move(keys);
  grid.Frozen = std::move(frozen);
  grid.Captions.resize(static_cast<std::size_t>(count));
  for (int r = 0; r < count; ++r)
    grid.Captions[static_cast<std::size_t>(r)] = Caption(prog.Doc.DynExprs[static_cast<std::size_t>(r)]);
  grid.Values.assign(static_cast<std::size_t>(count), std::string());
  if (current < 0) current = std::min(std::max(grid.Current, 0), count - 1);
  grid.Current = count > 0 ? current : -1;
  grid.Names.Clear();
  grid.NamesBuilt = false;
  for (const std::string& key : grid.RowKeys)
    WantCallNames(grid.Names, key.substr(0, key.find('\0')));
  ++grid.Layout;
}

std::string CsvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (char ch : text) {
    if (ch == '"') quoted += '"';
    quoted += ch;
  }
  return quoted + '"';
}

int CurrentRow(const Program& prog) {
  const int r = prog.ExprGrid.Current;
  return r >= 0 && r < ExprCount(prog) ? r : -1;
}

} // namespace

std::string CalcTextOf(const Program& prog, const char* name) { return prog.Texts.Get(CaptionKey(name)); }

std::string FrozenHeader(int k) { return FormatAnswer(k, 12); }

void RefreshDynExprs(Program& prog) {
  SyncRows(prog);
  DynExprGrid& grid = prog.ExprGrid;
  if (!grid.NamesBuilt || grid.NamesRevision != prog.History.Revision() || grid.NamesObjCount != prog.Doc.ObjCount) {
    grid.Names.Build(prog.Doc);
    grid.NamesBuilt = true;
    grid.NamesRevision = prog.History.Revision();
    grid.NamesObjCount = prog.Doc.ObjCount;
  }
  const int count = ExprCount(prog);
  for (int r = 0; r < count; ++r) {
    const std::size_t row = static_cast<std::size_t>(r);
    grid.Values[row] = EvaluateStoredDynExpr(prog, grid.Names, prog.Doc.DynExprs[row].Text.Bytes());
  }
}

void NewDynExpr(Program& prog) {
  const int count = ExprCount(prog);
  if (count >= MaxDynExprs) {
    prog.Desktop.MessageBox(MsgType::Error, prog.Msgs[39] + " " + std::to_string(MaxDynExprs) + ".", mbOK);
  } else if (prog.DynExprForm) {
    DynExprDialogModel model(prog, prog.ExprGrid.DialogHistory);
    if (prog.DynExprForm(model)) {
      TDynExpr& e = prog.Doc.DynExprs[static_cast<std::size_t>(count)];
      e = TDynExpr{};
      e.Text.Assign(NormalizeDynExpr(model.Text()));
      e.DisplayName.Assign(Utf8ToCp1251(model.Name));
      prog.Doc.DynExprCount = static_cast<int16_t>(count + 1);
      // The new row, once the grid has it, is the current one.
      RefreshDynExprs(prog);
      prog.ExprGrid.Current = count;
    }
  }
}

void EditDynExpr(Program& prog) {
  const int row = CurrentRow(prog);
  if (row >= 0 && prog.DynExprForm) {
    TDynExpr& e = prog.Doc.DynExprs[static_cast<std::size_t>(row)];
    DynExprDialogModel model(prog, prog.ExprGrid.DialogHistory, Cp1251ToUtf8(e.Text.Bytes()),
                             Cp1251ToUtf8(e.DisplayName.Bytes()));
    if (prog.DynExprForm(model)) {
      e.Text.Assign(NormalizeDynExpr(model.Text()));
      e.DisplayName.Assign(Utf8ToCp1251(model.Name));
    }
  }
}

void DeleteDynExpr(Program& prog) {
  const int row = CurrentRow(prog);
  if (row >= 0 && prog.Desktop.MessageBox(MsgType::Confirmation, prog.Msgs[40], mbYes | mbNo) == mbYes) {
    auto& table = prog.Doc.DynExprs;
    const int count = ExprCount(prog);
    std::move(table.begin() + row + 1, table.begin() + count, table.begin() + row);
    table[static_cast<std::size_t>(count - 1)] = TDynExpr{};
    prog.Doc.DynExprCount = static_cast<int16_t>(count - 1);
  }
}

void MoveDynExpr(Program& prog, int from, int to) {
  const int count = ExprCount(prog);
  const bool moves = from >= 0 && from < count && to >= 0 && to < count && from != to;
  const bool current = prog.ExprGrid.Current == from;
  if (moves) {
    auto& table = prog.Doc.DynExprs;
    if (from < to)
      std::rotate(table.begin() + from, table.begin() + from + 1, table.begin() + to + 1);
    else
      std::rotate(table.begin() + to, table.begin() + from, table.begin() + from + 1);
  }
  RefreshDynExprs(prog);
  // The moved row stays the current one.
  if (moves && current) prog.ExprGrid.Current = to;
}

void GridRowMoved(Program& prog, int from, int to) {
  CloseOpenStep(prog);
  MoveDynExpr(prog, from, to);
  RecordStep(prog, StepAction::Edit);
}

void FreezeDynExprValues(Program& prog) {
  RefreshDynExprs(prog);
  DynExprGrid& grid = prog.ExprGrid;
  if (ExprCount(prog) == 0) return;
  grid.Frozen.push_back(grid.Values);
  ++grid.Layout;
}

void RemoveFrozenColumn(Program& prog) {
  DynExprGrid& grid = prog.ExprGrid;
  if (!grid.Frozen.empty()) {
    grid.Frozen.pop_back();
    ++grid.Layout;
  }
}

std::string FrozenColumnsCsv(const Program& prog) {
  const DynExprGrid& grid = prog.ExprGrid;
  std::string out = CsvField(prog.Msgs[47]);
  for (std::size_t col = 0; col < grid.Frozen.size(); ++col)
    out += "," + CsvField(FrozenHeader(static_cast<int>(col) + 1));
  out += "\r\n";
  for (std::size_t row = 0; row < grid.Captions.size(); ++row) {
    out += CsvField(grid.Captions[row]);
    for (const auto& column : grid.Frozen)
      out += "," + CsvField(row < column.size() ? column[row] : std::string());
    out += "\r\n";
  }
  return out;
}

void SaveFrozenColumns(Program& prog) {
  if (prog.ExprGrid.Frozen.empty()) return;
  FileDialogRequest request;
  request.Filter = CalcTextOf(prog, "c_CsvFilter");
  request.DefaultExt = "csv";
  request.Title = CalcTextOf(prog, "c_CsvTitle");
  const fs::path doc = fs::u8path(prog.DocFileName);
  request.InitialDir = doc.parent_path().u8string();
  request.FileName = doc.stem().u8string() + ".csv";
  const std::string path = prog.Desktop.SaveDialog(request);
  if (path.empty()) return;
  const std::string text = FrozenColumnsCsv(prog);
  if (!WriteFileReplacing(path, std::vector<uint8_t>(text.begin(), text.end())))
    prog.Desktop.MessageBox(MsgType::Error, prog.Msgs[29] + " " + path, mbOK);
}

} // namespace drex
