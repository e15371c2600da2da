#pragma once
// The object properties dialog as data: the values of its controls, the candidates of its parent
// lists, its vertex tables and formula fields, the rules that check them and the step that writes
// them into the object. The Qt form shows one of these and hands it the user's edits.

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "kernel/geom_object.h"

namespace drex {

class Program;

/// One drop-down list of parent objects: the objects of suitable kinds that do not depend on the
/// edited object, in number order, and the one chosen.
struct ParentList {
  const char* Control = ""; ///< the list's name on the form ("cd1", "xo2", …)
  uint16_t Kinds = 0;       ///< bit k: objects of kind k are offered
  std::vector<int> Candidates;
  int Chosen = -1; ///< index into Candidates, -1 when the list shows nothing

  /// The object chosen, 0 for none.
  int ChosenObject() const;
};

/// One row of a vertex table: the point it stands for (0 = a new point is made on apply) and the
/// texts of its two coordinate cells (user units). A new row whose cells are both empty (as Enter
/// leaves one after the last vertex) stands for no vertex.
struct VertexRow {
  int Ref = 0;
  std::string X, Y;
  /// The texts as the dialog first showed them; a cell whose text is unchanged leaves the point
  /// where it is.
  std::string ShownX, ShownY;
};

/// The formula and interval fields of the graph page, in the order they are checked.
enum class GraphField { F1, F2, Left1, Right1, Left2, Right2 };
constexpr int GraphFieldCount = 6;

/// The fields with a drop-down history: psX2, psY2 and the six graph fields.
enum class HistoryField { PsX2, PsY2, F1, F2, Left1, Right1, Left2, Right2 };
constexpr int HistoryFieldCount = 8;

/// What the dialog remembers from one opening to the next: the histories of its fields.
struct PropertiesMemory {
  std::array<std::vector<std::string>, HistoryFieldCount> Histories;
};

/// Vertex-table button tags.
enum VertexButtonTag { AddVertexTag = 1, RemoveVertexTag = 2, ClearVertexTag = 3 };

/// The dialog's state for one object. Texts are UTF-8; numbers in text fields are user units.
class PropertiesModel {
public:
  /// Fills the dialog for object `object` of the program's construction. `creating` is true when
  /// the object was appended for this dialog and is dropped again when it is cancelled.
  PropertiesModel(Program& prog, int object, bool creating);

  int EditedObject() const { return object_; }
  int Kind() const { return kind_; }
  bool Creating() const { return creating_; }

  /// True when a page with parent lists has a list without any candidate: the dialog cannot be
  /// used (the caller shows "Не було створено жодного об'єкта…").
  bool MissingCandidates() const;

  // Common controls.
  std::string ObjName1;
  int ColorPos = 0; ///< position in ColorPalette, -1 when the object's colour is not there
  int StylePos = 0; ///< position in PenStyleMap, -1 when the pen style is not there
  int WidthPos = 0; ///< pen width - 1, -1 when out of range
  /// Chooses a line type; a type other than solid sets the width to 1.
  void SetStyle(int pos);
  /// Chooses a width; a width above 1 sets the type to solid.
  void SetWidth(int pos);

  // Kinds 0 and 2: the coordinates (psX, psY or psX2, psY2).
  std::string X, Y;
  // Kind 2: the point stays attached to its host.
  bool Attached = false;
  /// Caption of the attachment check box: "Прикріплена до об'єкта "name"".
  std::string AttachedCaption() const;

  /// The parent lists of the page in control order; they give Refs[1], Refs[2], Refs[3].
  std::vector<ParentList> Parents;
  /// Name shown for candidate `index` of list `list`.
  std::string CandidateName(int list, int index) const;

  // Kinds 10 and 12: the vertex table.
  std::vector<VertexRow> Rows;
  int CurrentRow = 0; ///< row of the table's current cell (index into Rows)
  bool Closed = false;
  bool Filled = false;
  int FillColorPos = 0; ///< position in ColorPalette, -1 when the fill colour is not there
  /// "Зафарбована" can be chosen only for a closed polyline.
  bool FilledEnabled() const { return Closed; }
  /// The fill colour list can be chosen only when the polyline is filled.
  bool FillColorEnabled() const { return Closed && Filled; }
  /// The buttons "+", "-" and clear by their tags; false when the button does nothing now.
  bool VertexButton(int tag);
  bool CanAddRow() const;
  bool CanRemoveRow() const;
  /// The cells of row `row` can be typed into: a new row, or a row standing for a free point.
  /// Other points are computed from their parents, so a typed position would not last.
  bool RowEditable(int row) const;
  /// Enter in cell (row, column), column 1 = x, 2 = y: the next cell to the right, or column 1 of
  /// the next row, adding a row at the end while the record has room. Updates the arguments.
  void GridEnter(int& row, int& column);

  // Kind 13: the graph page.
  int FuncTypePos = 0; ///< 0 explicit y(X), 1 parametric x(T), y(T), 2 polar r(F)
  std::array<std::string, GraphFieldCount> GraphText;
  /// The field's text is shown in red: it does not evaluate.
  std::array<bool, GraphFieldCount> GraphRed{};
  /// 0 when every field of the page is valid, else 1 (a field is red), 3 (a text does not
  /// evaluate) or 8 (an interval field is empty).
  int FormulaError = 0;
  void SetFuncType(int pos);
  /// The text of `field` changed: checks the page again.
  void GraphFieldChanged(GraphField field, const std::string& text);
  /// The focus left `field`: unless it is red its text goes to upper case (Latin letters) and to
  /// the top of its history; an interval field is replaced by its value.
  void GraphFieldExit(GraphField field);
  /// Label before f1 ("y(X)=", "x(T)=", "r(F)=") and of the first interval ("від x=", "до x=", …).
  std::string Label1() const;
  std::string LabelL1() const;
  std::string LabelR1() const;
  /// The y(T) formula is shown for the parametric type only.
  bool Panel1Visible() const { return FuncTypePos == 1; }
  /// "Застосувати" can be pressed.
  bool OkEnabled() const;

  /// The history of a field, newest first.
  const std::vector<std::string>& History(HistoryField field) const;
  /// psX2 or psY2 lost the focus: its text goes to the top of its history.
  void CoordinateExit(bool y);

  /// "Застосувати" was pressed: checks the name, the parents, the numbers, the vertex table and
  /// the room in the table, showing the message of each fault found. True when the dialog may
  /// close with OK.
  bool Confirm();

  /// Writes the dialog's data into the object (after Confirm passed), makes the new vertex points
  /// and the twin of a new intersection point, refreshes the object list and redraws. Returns the
  /// object's number afterwards: a new object moves behind the vertex points made for it.
  int Apply();

private:
  void FillParents();
  void FillVertexRows();
  void CheckGraphPage();
  bool ParseNumber(const std::string& text, double& value) const;
  int NewPointCount() const;
  int VertexLimit() const;

  Program& prog_;
  int object_;
  int kind_;
  bool creating_;
  std::string shownX_, shownY_;
  std::array<std::string, GraphFieldCount> shownGraph_;
  std::string hostName_;
};

/// One keypad button of the graph page on a text field: the selection (selStart, selLength, in
/// characters) is removed first; a caption beginning with "B" deletes the character before the
/// caret when nothing was selected, one beginning with "D" the character after it; any other
/// caption is inserted at the caret, which moves behind it. UTF-8 text; the caret is `caret`.
void KeypadPress(const std::string& caption, std::string& text, int& caret, int selStart, int selLength);

/// The keypad's captions in the order the buttons are laid out, in three rows of thirteen.
extern const std::array<const char*, 39> KeypadCaptions;

/// Opens the properties dialog for object `object` (nothing for a number outside the table):
/// builds the model, refuses with "Не було створено жодного об'єкта…" when a parent list has no
/// candidate, runs the form (prog.PropertiesForm) and applies what it confirmed. True when the
/// dialog ended with OK.
bool OpenPropertiesDialog(Program& prog, int object, bool creating = false);

/// The creation commands 101..114: a new object of kind tag − 101 is appended at the last mouse
/// position and completed in its properties dialog; it is dropped again when the dialog is
/// cancelled.
void CreateByParameters(Program& prog, int tag);

} // namespace drex
