#pragma once
// The about box: the program's name and version, what it is, its licence and a link to the help.
// A thin form over AboutContents.

#include <QDialog>

#include <functional>

#include "shell/about_box.h"

namespace drex {

class TAboutFrm : public QDialog {
  Q_OBJECT
public:
  /// `openHelp` runs when the help link is clicked.
  TAboutFrm(const AboutContents& about, const std::string& closeCaption, std::function<void()> openHelp,
            QWidget* parent = nullptr);
};

} // namespace drex
