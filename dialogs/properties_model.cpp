#include "dialogs/properties_model.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "dialogs/object_list.h"
#include "expr/DS_Calc.h"
#include "interaction/pick_tables.h"
#include "interaction/tool_modes.h"
#include "kernel/cp1251.h"
#include "kernel/deletion.h"
#include "kernel/recalc.h"
#include "shell/command_table.h"
#include "shell/program.h"
#include "view/redraw.h"

namespace drex {
namespace {

constexpr KindSet CircleKindSet = KindBit(okCircle);
/// Most entries a field's history keeps.
constexpr std::size_t HistoryLimit = 30;
/// The number put for the variable of a formula when its form is checked.
constexpr long double FormulaProbe = 0.01L;
/// Vertex rows the "+" button goes up to; typing on with Enter goes up to what the record holds.
constexpr int PolylineButtonRows = 500;
/// The texts "від" and "до" of the interval labels.
constexpr int FromMsg = 8, ToMsg = 9;

struct ListLayout {
  const char* Control;
  KindSet Kinds;
};

/// The parent lists of a page in control order; they give Refs[1], Refs[2], Refs[3].
std::vector<ListLayout> ParentListsOf(int kind) {
  const KindSet p = PointKindSet, l = LineKindSet;
  switch (kind) {
  case okMidpoint:
    return {{"cd1", p}, {"cd2", p}};
  case okIntersection:
    return {{"xo1", KindSet(l | CircleKindSet)}, {"xo2", KindSet(l | CircleKindSet)}};
  case okSymmetric:
    return {{"sd", p}, {"so", KindSet(p | l)}};
  case okLine:
    return {{"bt1", p}, {"bt2", p}};
  case okParallel:
    return {{"pd", p}, {"pp", l}};
  case okPerpendicular:
    return {{"pd2", p}, {"pp2", l}};
  case okBisector:
    return {{"d1", p}, {"d2", p}, {"d3", p}};
  case okTangent:
    return {{"dt1", p}, {"dt2", CircleKindSet}};
  case okCircle:
    return {{"c1", p}, {"c2", p}};
  default:
    return {};
  }
}

/// The shortest text that reads back as exactly `value` ("12.34", "-5", "1e-07"); "0" for ±0.
std::string ExactText(double value) {
  if (value == 0) return "0";
  char buffer[40];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

std::string Trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return std::string();
  const auto last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

/// Latin letters to upper case; every other byte, UTF-8 sequences included, is kept.
std::string UpperLatin(std::string text) {
  for (char& ch : text)
    if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
  return text;
}

/// A name as it is stored: Windows-1251, at most 20 characters.
std::string StoredName(const std::string& utf8) { return Utf8ToCp1251(utf8).substr(0, NameCapacity); }

/// The byte offset of character `index` of UTF-8 `text`; its length for an index at the end.
std::size_t ByteOfChar(const std::string& text, int index) {
  int chars = 0;
  for (std::size_t i = 0; i < text.size(); ++i)
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 && chars++ == index) return i;
  return text.size();
}

/// Removes `count` characters of `text` from character `from` on.
void EraseChars(std::string& text, int from, int count) {
  const std::size_t begin = ByteOfChar(text, from);
  text.erase(begin, ByteOfChar(text, from + count) - begin);
}

template <typename Table> int PositionOf(const Table& table, int32_t value) {
  for (std::size_t k = 0; k < table.size(); ++k)
    if (table[k] == value) return static_cast<int>(k);
  return -1;
}

int PalettePosition(int32_t value) {
  for (std::size_t k = 0; k < ColorPalette.size(); ++k)
    if (ColorPalette[k].Value == value) return static_cast<int>(k);
  return -1;
}

/// True when some object refers to `number`.
bool Referenced(const Construction& c, int number) {
  for (int n = 1; n <= c.ObjCount; ++n)
    for (int k = 1; k <= std::clamp<int>(c[n].RefCount, 0, RefSlots - 1); ++k)
      if (c[n].Ref(k) == number) return true;
  return false;
}

void PushHistory(std::vector<std::string>& history, const std::string& text) {
  if (text.empty() || std::find(history.begin(), history.end(), text) != history.end()) return;
  history.insert(history.begin(), text);
  if (history.size() > HistoryLimit) history.resize(HistoryLimit);
}

HistoryField HistoryOf(GraphField field) {
  return static_cast<HistoryField>(static_cast<int>(HistoryField::F1) + static_cast<int>(field));
}

/// A row added for a new point whose cells were left empty stands for nothing.
bool IsBlankNewRow(const VertexRow& r) { return r.Ref == 0 && Trimmed(r.X).empty() && Trimmed(r.Y).empty(); }

bool IsIntervalField(GraphField field) { return field != GraphField::F1 && field != GraphField::F2; }

std::size_t Index(GraphField field) { return static_cast<std::size_t>(field); }

} // namespace

int ParentList::ChosenObject() const {
  return Chosen >= 0 && Chosen < static_cast<int>(Candidates.size()) ? Candidates[static_cast<std::size_t>(Chosen)] : 0;
}

PropertiesModel::PropertiesModel(Program& prog, int object, bool creating)
    : prog_(prog), object_(object), kind_(prog.Doc[object].Kind), creating_(creating) {
  const TGeomObject& o = prog.Doc[object];
  const double unit = std::max(prog.UnitLength, 1);
  ObjName1 = Cp1251ToUtf8(o.Name.Bytes());
  ColorPos = PalettePosition(o.Color);
  StylePos = PositionOf(PenStyleMap, o.PenStyle);
  WidthPos = o.PenWidth >= 1 && o.PenWidth <= 5 ? o.PenWidth - 1 : -1;
  if (kind_ == okPoint || kind_ == okPointOn) {
    X = shownX_ = ExactText(o.X1 / unit);
    Y = shownY_ = ExactText(o.Y1 / unit);
  }
  if (kind_ == okPointOn) {
    Attached = true;
    const int host = o.RefCount >= 1 ? o.Ref(1) : 0;
    if (host >= 1 && host <= prog.Doc.ObjCount) hostName_ = Cp1251ToUtf8(prog.Doc[host].Name.Bytes());
  }
  FillParents();
  if (kind_ == okPolyline || kind_ == okPolynomial) FillVertexRows();
  if (kind_ == okPolyline) {
    Filled = Closed && o.Filled();
    FillColorPos = PalettePosition(o.FillColor());
  }
  if (kind_ == okFunction) {
    FuncTypePos = o.FuncType >= 1 && o.FuncType <= 3 ? o.FuncType - 1 : 0;
    GraphText = {Cp1251ToUtf8(o.Expr1.Bytes()),
                 Cp1251ToUtf8(o.Expr2.Bytes()),
                 ExactText(o.X1),
                 ExactText(o.Y1),
                 ExactText(o.X2),
                 ExactText(o.Y2)};
    shownGraph_ = GraphText;
    CheckGraphPage();
  }
}

void PropertiesModel::FillParents() {
  const std::vector<ListLayout> layout = ParentListsOf(kind_);
  if (layout.empty()) return;
  const Construction& c = prog_.Doc;
  std::vector<uint8_t> excluded;
  MarkDependants(c, object_, excluded);
  const TGeomObject& o = c[object_];
  for (std::size_t k = 0; k < layout.size(); ++k) {
    ParentList list;
    list.Control = layout[k].Control;
    list.Kinds = layout[k].Kinds;
    for (int n = 1; n <= c.ObjCount; ++n)
      if (!excluded[static_cast<std::size_t>(n)] && InKindSet(list.Kinds, c[n].Kind)) list.Candidates.push_back(n);
    const int ref = static_cast<int>(k) + 1 <= o.RefCount ? o.Ref(static_cast<int>(k) + 1) : 0;
    const auto at = std::lower_bound(list.Candidates.begin(), list.Candidates.end(), ref);
    if (ref > 0 && at != list.Candidates.end() && *at == ref)
      list.Chosen = static_cast<int>(at - list.Candidates.begin());
    Parents.push_back(std::move(list));
  }
}

void PropertiesModel::FillVertexRows() {
  const Construction& c = prog_.Doc;
  const TGeomObject& o = c[object_];
  const int capacity = kind_ == okPolyline ? MaxPolylineRefs : MaxPolynomialNodes;
  const int n = std::clamp<int>(o.RefCount, 0, capacity);
  // A polyline is closed when its last vertex repeats the first; a list not filled in yet is not.
  Closed = kind_ == okPolyline && n >= 2 && o.Ref(1) > 0 && o.Ref(n) == o.Ref(1);
  const int rows = Closed ? n - 1 : n;
  const double unit = std::max(prog_.UnitLength, 1);
  for (int r = 1; r <= rows; ++r) {
    VertexRow row;
    const int ref = o.Ref(r);
    if (ref >= 1 && ref <= c.ObjCount) {
      row.Ref = ref;
      row.X = row.ShownX = ExactText(c[ref].X1 / unit);
      row.Y = row.ShownY = ExactText(c[ref].Y1 / unit);
    }
    Rows.push_back(std::move(row));
  }
}

bool PropertiesModel::MissingCandidates() const {
  return std::any_of(Parents.begin(), Parents.end(), [](const ParentList& l) { return l.Candidates.empty(); });
}

void PropertiesModel::SetStyle(int pos) {
  StylePos = pos;
  if (pos > 0) WidthPos = 0;
}

void PropertiesModel::SetWidth(int pos) {
  WidthPos = pos;
  if (pos > 0) StylePos = 0;
}

std::string PropertiesModel::AttachedCaption() const { return FormatMsg(prog_.Msgs[70], {hostName_}); }

std::string PropertiesModel::CandidateName(int list, int index) const {
  if (list < 0 || list >= static_cast<int>(Parents.size())) return std::string();
  const ParentList& l = Parents[static_cast<std::size_t>(list)];
  if (index < 0 || index >= static_cast<int>(l.Candidates.size())) return std::string();
  const int n = l.Candidates[static_cast<std::size_t>(index)];
  const std::string name = Cp1251ToUtf8(prog_.Doc[n].Name.Bytes());
  // An object without a name (possible in a document) is shown by its list line instead.
  return name.empty() ? ObjectListLine(prog_.Doc, prog_.Kinds, n) : name;
}

int PropertiesModel::VertexLimit() const { return kind_ == okPolyline ? MaxPolylineRefs : MaxPolynomialNodes; }

bool PropertiesModel::CanAddRow() const {
  const int limit = kind_ == okPolyline ? PolylineButtonRows : MaxPolynomialNodes;
  return static_cast<int>(Rows.size()) < limit;
}

bool PropertiesModel::CanRemoveRow() const { return Rows.size() > 2; }

bool PropertiesModel::VertexButton(int tag) {
  const int count = static_cast<int>(Rows.size());
  CurrentRow = std::clamp(CurrentRow, 0, std::max(count - 1, 0));
  switch (tag) {
  case AddVertexTag:
    if (!CanAddRow()) return false;
    Rows.insert(Rows.begin() + std::min(CurrentRow, count), VertexRow{});
    return true;
  case RemoveVertexTag:
    if (!CanRemoveRow()) return false;
    Rows.erase(Rows.begin() + CurrentRow);
    CurrentRow = std::min(CurrentRow, static_cast<int>(Rows.size()) - 1);
    return true;
  case ClearVertexTag:
    for (VertexRow& row : Rows)
      row = VertexRow{};
    return true;
  default:
    return false;
  }
}

bool PropertiesModel::RowEditable(int row) const {
  if (row < 0 || row >= static_cast<int>(Rows.size())) return false;
  const int ref = Rows[static_cast<std::size_t>(row)].Ref;
  return ref == 0 || (ref <= prog_.Doc.ObjCount && prog_.Doc[ref].Kind == okPoint);
}

void PropertiesModel::GridEnter(int& row, int& column) {
  if (column < 2) {
    column = 2;
  } else if (row + 1 < static_cast<int>(Rows.size())) {
    ++row;
    column = 1;
  } else if (static_cast<int>(Rows.size()) < VertexLimit()) {
    Rows.push_back(VertexRow{});
    row = static_cast<int>(Rows.size()) - 1;
    column = 1;
  }
  CurrentRow = row;
}

void PropertiesModel::SetFuncType(int pos) {
  FuncTypePos = std::clamp(pos, 0, 2);
  CheckGraphPage();
}

void PropertiesModel::GraphFieldChanged(GraphField field, const std::string& text) {
  GraphText[Index(field)] = text;
  CheckGraphPage();
}

void PropertiesModel::CheckGraphPage() {
  DS_Calc calc;
  static constexpr char Variables[] = {'X', 'T', 'F'};
  FormulaError = 0;
  for (int f = 0; f < GraphFieldCount; ++f) {
    const auto field = static_cast<GraphField>(f);
    const std::string& text = GraphText[static_cast<std::size_t>(f)];
    int code = 0;
    if (field == GraphField::F1 || field == GraphField::F2) {
      // The y(T) formula counts only for the parametric type, which shows it.
      if (field == GraphField::F2 && !Panel1Visible()) {
        GraphRed[static_cast<std::size_t>(f)] = false;
        continue;
      }
      const char variable = field == GraphField::F1 ? Variables[FuncTypePos] : 'T';
      calc.EvaluateExpression(SubstituteVariable(text, variable, FormulaProbe));
      if (calc.CalcError > 0) code = 3;
    } else if (Trimmed(text).empty()) {
      code = 8;
    } else {
      calc.EvaluateExpression(text);
      if (calc.CalcError != 0) code = 3;
    }
    GraphRed[static_cast<std::size_t>(f)] = code != 0;
    if (code != 0 && FormulaError == 0) FormulaError = code;
  }
}

void PropertiesModel::GraphFieldExit(GraphField field) {
  const std::size_t f = Index(field);
  if (GraphRed[f]) return;
  std::string text = UpperLatin(GraphText[f]);
  if (IsIntervalField(field)) {
    DS_Calc calc;
    const long double value = calc.EvaluateExpression(text);
    if (calc.CalcError == 0) text = ExactText(static_cast<double>(value));
  }
  GraphText[f] = text;
  PushHistory(prog_.PropertiesDlg.Histories[static_cast<std::size_t>(HistoryOf(field))], text);
  CheckGraphPage();
}

std::string PropertiesModel::Label1() const {
  static constexpr const char* Labels[] = {"y(X)=", "x(T)=", "r(F)="};
  return Labels[FuncTypePos];
}

std::string PropertiesModel::LabelL1() const {
  static constexpr const char* Variables[] = {"x", "t", "c"};
  return prog_.Msgs[FromMsg] + " " + Variables[FuncTypePos] + "=";
}

std::string PropertiesModel::LabelR1() const {
  static constexpr const char* Variables[] = {"x", "t", "c"};
  return prog_.Msgs[ToMsg] + " " + Variables[FuncTypePos] + "=";
}

bool PropertiesModel::OkEnabled() const { return kind_ != okFunction || FormulaError == 0; }

const std::vector<std::string>& PropertiesModel::History(HistoryField field) const {
  return prog_.PropertiesDlg.Histories[static_cast<std::size_t>(field)];
}

void PropertiesModel::CoordinateExit(bool y) {
  double value = 0;
  const std::string& text = y ? Y : X;
  if (ParseNumber(text, value))
    PushHistory(prog_.PropertiesDlg.Histories[static_cast<std::size_t>(y ? HistoryField::PsY2 : HistoryField::PsX2)],
                Trimmed(text));
}

bool PropertiesModel::ParseNumber(const std::string& text, double& value) const {
  std::string t = Trimmed(text);
  if (!t.empty() && t[0] == '+') t.erase(0, 1);
  if (t.empty()) return false;
  const auto result = std::from_chars(t.data(), t.data() + t.size(), value);
  return result.ec == std::errc() && result.ptr == t.data() + t.size() && std::isfinite(value);
}

int PropertiesModel::NewPointCount() const {
  return static_cast<int>(
      std::count_if(Rows.begin(), Rows.end(), [](const VertexRow& r) { return r.Ref == 0 && !IsBlankNewRow(r); }));
}

bool PropertiesModel::Confirm() {
  Platform& desk = prog_.Desktop;
  const MsgTable& msgs = prog_.Msgs;
  const Construction& c = prog_.Doc;
  bool ok = true;

  if (!IsValidObjectName(ObjName1)) {
    desk.MessageBox(MsgType::Error, msgs[10], mbOK);
    ok = false;
  } else {
    const std::string stored = StoredName(ObjName1);
    for (int j = 1; j <= c.ObjCount; ++j) {
      if (j != object_ && c[j].Name.Equals(stored)) {
        desk.MessageBox(MsgType::Error, FormatMsg(msgs[11], {ObjName1}), mbOK);
        ok = false;
        break;
      }
    }
  }

  if (!Parents.empty()) {
    const int first = Parents[0].ChosenObject();
    bool parentsOk = first != 0;
    for (std::size_t k = 1; k < Parents.size(); ++k) {
      const int chosen = Parents[k].ChosenObject();
      if (chosen == 0 || chosen == first) parentsOk = false;
    }
    if (!parentsOk) {
      desk.MessageBox(MsgType::Error, msgs[12], mbOK);
      ok = false;
    }
  }

  bool numbersOk = true;
  double value = 0;
  if (kind_ == okPoint || kind_ == okPointOn)
    numbersOk = (X == shownX_ || ParseNumber(X, value)) && (Y == shownY_ || ParseNumber(Y, value));
  if (kind_ == okPolyline || kind_ == okPolynomial) {
    const int rows = static_cast<int>(Rows.size() - std::count_if(Rows.begin(), Rows.end(), IsBlankNewRow));
    const int refsNeeded = kind_ == okPolyline && Closed ? rows + 1 : rows;
    if (rows < 2 || refsNeeded > VertexLimit()) {
      desk.MessageBox(MsgType::Error, msgs[12], mbOK);
      ok = false;
    }
    for (int r = 0; r < static_cast<int>(Rows.size()) && numbersOk; ++r) {
      const VertexRow& row = Rows[static_cast<std::size_t>(r)];
      if (!RowEditable(r) || IsBlankNewRow(row)) continue;
      numbersOk = (row.Ref != 0 && row.X == row.ShownX) || ParseNumber(row.X, value);
      numbersOk = numbersOk && ((row.Ref != 0 && row.Y == row.ShownY) || ParseNumber(row.Y, value));
    }
  }
  if (!numbersOk) {
    desk.MessageBox(MsgType::Error, msgs[4], mbOK);
    ok = false;
  }

  if (kind_ == okFunction) {
    CheckGraphPage();
    if (FormulaError != 0) ok = false;
  }

  if (ok) {
    int added = NewPointCount();
    if (creating_ && kind_ == okIntersection) {
      const bool twoLines =
          IsLineKind(c[Parents[0].ChosenObject()].Kind) && IsLineKind(c[Parents[1].ChosenObject()].Kind);
      if (!twoLines) ++added;
    }
    if (c.ObjCount + added > MaxObjects) {
      prog_.ShowObjectLimitMessage();
      ok = false;
    }
  }
  return ok;
}

int PropertiesModel::Apply() {
  Construction& c = prog_.Doc;
  const double unit = std::max(prog_.UnitLength, 1);
  int number = object_;
  prog_.Modified = true;
  {
    TGeomObject& o = c[number];
    if (ColorPos >= 0) o.Color = ColorPalette[static_cast<std::size_t>(ColorPos)].Value;
    if (StylePos >= 0) o.PenStyle = PenStyleMap[static_cast<std::size_t>(StylePos)];
    if (WidthPos >= 0) o.PenWidth = WidthPos + 1;
    o.Name.Assign(StoredName(ObjName1));
  }

  double value = 0;
  switch (static_cast<TObjKind>(kind_)) {
  case okPoint:
  case okPointOn: {
    TGeomObject& o = c[number];
    const bool moved = X != shownX_ || Y != shownY_;
    if (X != shownX_ && ParseNumber(X, value)) o.X1 = value * unit;
    if (Y != shownY_ && ParseNumber(Y, value)) o.Y1 = value * unit;
    if (kind_ == okPointOn) {
      if (!Attached) {
        // A free point has no host: its reference goes too.
        o.Kind = okPoint;
        o.RefCount = 0;
        o.Refs[1] = 0;
      } else if (moved) {
        AttachPoint(c, number);
      }
    }
    break;
  }
  case okPolyline:
  case okPolynomial: {
    // New vertex points are appended; a new object (the last one, which nothing refers to yet)
    // then moves behind them, so that it stays after everything it is built from.
    Rows.erase(std::remove_if(Rows.begin(), Rows.end(), IsBlankNewRow), Rows.end());
    const int newPoints = NewPointCount();
    const bool moveBehind = newPoints > 0 && number == c.ObjCount && !Referenced(c, number);
    std::vector<int> refs;
    refs.reserve(Rows.size());
    const int firstNew = c.ObjCount + 1;
    for (const VertexRow& row : Rows)
      refs.push_back(row.Ref != 0 ? row.Ref : prog_.AppendObject(okPoint));
    if (moveBehind) {
      TGeomObject* const from = &c[number];
      std::rotate(from, from + 1, from + (c.ObjCount - number + 1));
      for (int& r : refs)
        if (r >= firstNew) --r;
      number = c.ObjCount;
    }
    for (std::size_t r = 0; r < Rows.size(); ++r) {
      const VertexRow& row = Rows[r];
      const bool fresh = row.Ref == 0;
      TGeomObject& v = c[refs[r]];
      if (!fresh && !RowEditable(static_cast<int>(r))) continue;
      if ((fresh || row.X != row.ShownX) && ParseNumber(row.X, value)) v.X1 = value * unit;
      if ((fresh || row.Y != row.ShownY) && ParseNumber(row.Y, value)) v.Y1 = value * unit;
    }
    TGeomObject& o = c[number];
    const int rows = static_cast<int>(refs.size());
    for (int r = 0; r < rows; ++r)
      o.Refs[static_cast<std::size_t>(r + 1)] = static_cast<int16_t>(refs[static_cast<std::size_t>(r)]);
    o.RefCount = static_cast<int16_t>(rows);
    if (kind_ == okPolyline) {
      o.SetFilled(false);
      if (Closed) {
        o.RefCount = static_cast<int16_t>(rows + 1);
        o.Refs[static_cast<std::size_t>(rows + 1)] = o.Refs[1];
        o.SetFilled(Filled);
      }
      if (FillColorPos >= 0) o.SetFillColor(ColorPalette[static_cast<std::size_t>(FillColorPos)].Value);
    }
    break;
  }
  case okFunction: {
    TGeomObject& o = c[number];
    o.Expr1.Assign(Utf8ToCp1251(GraphText[Index(GraphField::F1)]));
    o.Expr2.Assign(Utf8ToCp1251(GraphText[Index(GraphField::F2)]));
    double* bounds[] = {&o.X1, &o.Y1, &o.X2, &o.Y2};
    DS_Calc calc;
    for (int k = 0; k < 4; ++k) {
      const std::size_t f = Index(GraphField::Left1) + static_cast<std::size_t>(k);
      if (GraphText[f] == shownGraph_[f]) continue;
      // A field confirmed before it was left may still hold an expression such as 2*pi.
      const long double v = calc.EvaluateExpression(GraphText[f]);
      if (calc.CalcError == 0) *bounds[k] = static_cast<double>(v);
    }
    o.FuncType = static_cast<uint8_t>(FuncTypePos + 1);
    break;
  }
  case okMidpoint:
  case okIntersection:
  case okSymmetric:
  case okLine:
  case okParallel:
  case okPerpendicular:
  case okBisector:
  case okTangent:
  case okCircle: {
    TGeomObject& o = c[number];
    for (std::size_t k = 0; k < Parents.size(); ++k)
      o.Refs[k + 1] = static_cast<int16_t>(Parents[k].ChosenObject());
    o.RefCount = static_cast<int16_t>(Parents.size());
    if (kind_ == okIntersection) {
      // Only a new point gets the twin for the second solution; an edited one keeps its RootNo.
      if (creating_)
        ClassifyIntersection(c, number, prog_.Naming());
      else
        SetIntersectionSubtype(c, number);
    }
    break;
  }
  }

  prog_.List.Current = number - 1;
  RefreshObjectList(prog_);
  Redraw(prog_, true);
  return number;
}

const std::array<const char*, 39> KeypadCaptions = {
    "1",    "2",    "3",     "4",     "5",   "6",    "7",    "8",     "9",    "0",    ".",    "BS",  "Del",
    "Sin(", "Cos(", "ASin(", "ACos(", "Tg(", "ATg(", "CTg(", "ACTg(", "Exp(", "Int(", "Abs(", "Ln(", "Lg(",
    "Pi",   "+",    "-",     "Sqrt(", "/",   "*",    "^",    "(",     ")",    "X",    "Y",    "T",   "Z"};

void KeypadPress(const std::string& caption, std::string& text, int& caret, int selStart, int selLength) {
  const int size = CharCount(text);
  caret = std::clamp(caret, 0, size);
  const bool selected = selLength > 0 && selStart >= 0 && selStart < size;
  if (selected) {
    EraseChars(text, selStart, std::min(selLength, size - selStart));
    caret = selStart;
  }
  if (!caption.empty() && caption[0] == 'B') {
    if (!selected && caret > 0) EraseChars(text, --caret, 1);
  } else if (!caption.empty() && caption[0] == 'D') {
    if (!selected && caret < CharCount(text)) EraseChars(text, caret, 1);
  } else {
    text.insert(ByteOfChar(text, caret), caption);
    caret += CharCount(caption);
  }
}

bool OpenPropertiesDialog(Program& prog, int object, bool creating) {
  if (object < 1 || object > prog.Doc.ObjCount || !IsValidKind(prog.Doc[object].Kind)) return false;
  if (OperationRunning(prog)) AbortOperation(prog);
  PropertiesModel model(prog, object, creating);
  if (model.MissingCandidates()) {
    prog.Desktop.MessageBox(MsgType::Error, prog.Msgs[38], mbOK);
    return false;
  }
  if (!prog.PropertiesForm || !prog.PropertiesForm(model)) return false;
  model.Apply();
  return true;
}

void CreateByParameters(Program& prog, int tag) {
  if (tag < tag::FirstByParams || tag > tag::LastByParams || tag == 103) return;
  if (prog.Doc.ObjCount >= MaxObjects) {
    prog.ShowObjectLimitMessage();
    return;
  }
  AbortOperation(prog);
  const int kind = tag - tag::FirstByParams;
  const int n = prog.AppendObject(kind);
  // A polyline or polynomial starts with three empty vertex rows.
  if (kind == okPolyline || kind == okPolynomial) prog.Doc[n].RefCount = 3;
  if (!OpenPropertiesDialog(prog, n, true)) {
    if (prog.Doc.ObjCount == n) prog.Doc.ObjCount = static_cast<int16_t>(n - 1);
    RefreshObjectList(prog);
    Redraw(prog, true);
  }
}

} // namespace drex
