#pragma once
// The solid-of-revolution dialog without its window: the objects it offers, the chosen one and
// axis, the computed measures with their texts, and the preview picture of the solid.

#include <string>
#include <vector>

#include "expr/revolution.h"

namespace drex {

class Canvas;
class Program;

/// The axis the curve turns about.
enum class RotationAxis { Ox = 0, Oy = 1 };

/// An object the dialog offers: its number and its name as shown (UTF-8).
struct RotationCandidate {
  int ObjNo = 0;
  std::string Name;
};

/// The objects a solid of revolution can be made of, in table order: polylines, interpolation
/// polynomials, and graphs y = f(x) and x(t), y(t).
std::vector<RotationCandidate> RotationCandidates(const Program& prog);

/// The text shown for a measure that cannot be computed.
inline constexpr const char* UnknownMeasureText = "???";

/// Side of the preview picture, pixels.
constexpr int RotationPictureSize = 409;

class RotationModel {
public:
  /// The candidates of the program's construction; none is selected and nothing computed yet.
  explicit RotationModel(Program& prog);

  const std::vector<RotationCandidate>& Candidates() const { return candidates_; }
  /// The index of the selected candidate, -1 before the first Select.
  int Selected() const { return selected_; }
  RotationAxis Axis() const { return axis_; }

  /// Selects candidate `index` (by its object number, so equal names never pick another object)
  /// and computes its solid. An index outside the list changes nothing.
  void Select(int index);
  /// Sets the axis and computes the solid again.
  void SetAxis(RotationAxis axis);
  /// Computes the selected candidate's solid, with the progress window.
  void Compute();

  /// The last computation: the four measures with their Known flags, the curve, and whether the
  /// object gave no solid or the calculation was refused.
  const RevolutionOutcome& Outcome() const { return outcome_; }
  /// The surface area and the volume about the current axis as shown: FormatAnswer with the
  /// settings' AnswerDigits, "???" for a measure that cannot be computed, empty when there is no
  /// solid (nothing selected, an unsuitable or undefined object, or a refused calculation).
  std::string SurfaceText() const;
  std::string VolumeText() const;

  /// Paints the preview of the solid on `canvas` into width × height pixels: the white picture,
  /// the red axes through its centre with their labels, the cross-sections of the solid about the
  /// current axis and the generating curve, in black.
  void DrawPicture(Canvas& canvas, int width, int height) const;

private:
  std::string Text(double value, bool known) const;

  Program& prog_;
  std::vector<RotationCandidate> candidates_;
  int selected_ = -1;
  RotationAxis axis_ = RotationAxis::Ox;
  bool polyline_ = false; ///< the computed object is a polyline: cross-sections along every segment
  bool computed_ = false;
  RevolutionOutcome outcome_;
};

/// The command that opens the dialog: the error box with message 38 when the construction has no
/// candidate; otherwise the model with its first candidate computed, shown through
/// prog.RotationForm (skipped when that is not set).
void OpenRotationDialog(Program& prog);

} // namespace drex
