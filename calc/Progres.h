#pragma once
// The progress window of the long calculations: a small border-less window on top, centred on the
// screen, with the message, the gauge and the stop button.

#include <QDialog>

#include <functional>

class QLabel;
class QProgressBar;
class QPushButton;
class QString;

namespace drex {

class TProgrFrm : public QDialog {
  Q_OBJECT
public:
  explicit TProgrFrm(QWidget* parent = nullptr);

  /// Puts `text` in the message label and enables the stop button or not.
  void SetMessage(bool stopEnabled, const QString& text);
  /// The gauge, from 1 to `maximum` (at least 1).
  void SetRange(int maximum);
  void SetPosition(int position);
  /// Shows the window centred on the screen.
  void ShowCentred();

  /// What the stop button does.
  std::function<void()> StopClicked;

private:
  QLabel* message_ = nullptr;
  QProgressBar* bar_ = nullptr;
  QPushButton* stop_ = nullptr;
};

} // namespace drex
