#pragma once
// The user's preferences, with their defaults.

#include <string>

namespace drex {

struct Settings {
  int AnswerDigits = 2;       ///< significant digits of every answer, 0..12
  int IntegrationSteps = 200; ///< intervals of the trapezoid rule, 100..1000
  int CoordSystem = 0;        ///< status line: 0 Cartesian, 1 polar
  bool DrawFName = true;      ///< window title shows the document's path
  bool IsReadLast = true;     ///< open the last document at start
  bool IsOsi = true;          ///< draw the axes
  bool DrawGrid = true;       ///< draw the grid of dots
  bool PutObjName = true;     ///< draw object names
  bool DotsOneLetter = true;  ///< name new points with Latin letters
  bool SmoothDrawing = true;  ///< antialiased drawing area, names in a sans-serif font with a halo
  int DisplayScale = 100;     ///< percent: size of point marks, names, labels, handles and pens
  std::string LangFile;       ///< language file, empty for the built-in texts
};

} // namespace drex
