#include "shell/QtPlatform.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QMimeData>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QToolBar>
#include <QCoreApplication>
#include <QDir>
#include <QDesktopServices>
#include <QFileInfo>
#include <QFileDialog>
#include <QInputDialog>
#include <QLocale>
#include <QAbstractButton>
#include <QMessageBox>
#include <QPixmap>
#include <QScreen>
#include <QStandardPaths>
#include <QStringList>
#include <QUrl>

#include "calc/Progres.h"
#include "view/QtPictureExport.h"

namespace drex {
namespace {

QString Q(const std::string& utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }
std::string S(const QString& text) { return text.toUtf8().toStdString(); }

// "caption|pattern|caption|pattern" to Qt's "caption (pattern);;caption (pattern)".
QString QtFilter(const std::string& filter) {
  const QStringList parts = Q(filter).split(QLatin1Char('|'));
  QStringList out;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    QString pattern = parts[i + 1];
    pattern.replace(QLatin1Char(';'), QLatin1Char(' '));
    out << parts[i] + QStringLiteral(" (") + pattern + QLatin1Char(')');
  }
  return out.join(QStringLiteral(";;"));
}

QString StartPath(const FileDialogRequest& r) {
  if (r.FileName.empty()) return Q(r.InitialDir);
  // A bare preset name is offered in the initial folder.
  const QString name = Q(r.FileName);
  if (r.InitialDir.empty() || !QFileInfo(name).isRelative()) return name;
  return QDir(Q(r.InitialDir)).filePath(name);
}

} // namespace

QtPlatform::QtPlatform() {
  for (std::size_t k = 0; k < timers_.size(); ++k) {
    QObject::connect(&timers_[k], &QTimer::timeout, this, [this, k] {
      if (handlers_[k]) handlers_[k]();
    });
  }
}

QtPlatform::~QtPlatform() { delete progress_.data(); }

void QtPlatform::SetWindows(QWidget* mainWindow, QWidget* drawingArea) {
  mainWindow_ = mainWindow;
  drawingArea_ = drawingArea;
}

void QtPlatform::RegisterCursor(int cursorNo, const QCursor& cursor) { cursors_[cursorNo] = cursor; }

void QtPlatform::SetTimerHandler(TimerId id, std::function<void()> handler) {
  handlers_[static_cast<std::size_t>(id)] = std::move(handler);
}

MsgButton QtPlatform::MessageBox(MsgType type, const std::string& text, int buttons) {
  QMessageBox::StandardButtons qb;
  if (buttons & mbOK) qb |= QMessageBox::Ok;
  if (buttons & mbYes) qb |= QMessageBox::Yes;
  if (buttons & mbNo) qb |= QMessageBox::No;
  if (buttons & mbCancel) qb |= QMessageBox::Cancel;
  QMessageBox::Icon icon = QMessageBox::Information;
  int caption = 2;
  switch (type) {
  case MsgType::Error:
    icon = QMessageBox::Critical;
    caption = 1;
    break;
  case MsgType::Warning:
    icon = QMessageBox::Warning;
    caption = 0;
    break;
  case MsgType::Information:
    icon = QMessageBox::Information;
    caption = 2;
    break;
  case MsgType::Confirmation:
    icon = QMessageBox::Question;
    caption = 3;
    break;
  }
  QString title = QApplication::applicationName();
  if (language_ && !language_->DialogCaptions[static_cast<std::size_t>(caption)].empty())
    title = Q(language_->DialogCaptions[static_cast<std::size_t>(caption)]);
  QMessageBox box(icon, title, Q(text), qb, mainWindow_);
  // Messages come from language files too: shown as they are, never as markup.
  box.setTextFormat(Qt::PlainText);
  if (language_) {
    // The buttons' captions in the order of the language file: Yes, No, OK, Cancel.
    const std::pair<QMessageBox::StandardButton, std::size_t> captions[] = {
        {QMessageBox::Yes, 0}, {QMessageBox::No, 1}, {QMessageBox::Ok, 2}, {QMessageBox::Cancel, 3}};
    for (const auto& [button, index] : captions)
      if (QAbstractButton* b = box.button(button)) b->setText(Q(language_->ButtonCaptions[index]));
  }
  const int answer = box.exec();
  switch (answer) {
  case QMessageBox::Ok:
    return mbOK;
  case QMessageBox::Yes:
    return mbYes;
  case QMessageBox::No:
    return mbNo;
  default:
    return (buttons & mbCancel) ? mbCancel : (buttons & mbNo) ? mbNo : mbOK;
  }
}

bool QtPlatform::InputBox(const std::string& caption, const std::string& prompt, std::string& value) {
  bool ok = false;
  const QString answer = QInputDialog::getText(mainWindow_, Q(caption), Q(prompt), QLineEdit::Normal, Q(value), &ok);
  if (ok) value = S(answer);
  return ok;
}

std::string QtPlatform::OpenDialog(const FileDialogRequest& r) {
  QFileDialog dialog(mainWindow_, Q(r.Title), StartPath(r), QtFilter(r.Filter));
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setDefaultSuffix(Q(r.DefaultExt));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return S(dialog.selectedFiles().first());
}

std::string QtPlatform::SaveDialog(const FileDialogRequest& r) {
  QFileDialog dialog(mainWindow_, Q(r.Title), StartPath(r), QtFilter(r.Filter));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(Q(r.DefaultExt));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return S(dialog.selectedFiles().first());
}

void QtPlatform::StartTimer(TimerId id, int intervalMs) { TimerOf(id).start(intervalMs); }
void QtPlatform::StopTimer(TimerId id) { TimerOf(id).stop(); }
bool QtPlatform::TimerRunning(TimerId id) const { return TimerOf(id).isActive(); }

void QtPlatform::ProcessPendingEvents() { QApplication::processEvents(); }

TProgrFrm* QtPlatform::ProgressForm() {
  if (!progress_) {
    progress_ = new TProgrFrm(mainWindow_);
    progress_->StopClicked = [this] { StopClicked(); };
  }
  return progress_;
}

void QtPlatform::ShowProgress(const std::string& message, bool stopEnabled) {
  ProgressForm();
  stopRequested_ = false;
  progress_->SetMessage(stopEnabled, Q(message));
  progress_->ShowCentred();
  QApplication::processEvents();
}

void QtPlatform::StopClicked() {
  // The message number of the question "stop the calculation?".
  constexpr int MsgStopQuestion = 13;
  if (MessageBox(MsgType::Confirmation, (*texts_)[MsgStopQuestion], mbYes | mbNo) != mbYes) return;
  stopRequested_ = true;
  if (progress_) progress_->hide();
}

void QtPlatform::SetProgressRange(int maximum) {
  if (progress_) progress_->SetRange(maximum);
}

void QtPlatform::SetProgressPosition(int position) {
  if (progress_) progress_->SetPosition(position);
}

void QtPlatform::HideProgress() {
  if (progress_) progress_->hide();
}

bool QtPlatform::StopRequested() const { return stopRequested_; }

void QtPlatform::SetCursor(int cursorNo) {
  if (!drawingArea_) return;
  const auto found = cursors_.find(cursorNo);
  drawingArea_->setCursor(found != cursors_.end() ? found->second : QCursor(Qt::CrossCursor));
}

bool QtPlatform::OpenWithAssociatedProgram(const std::string& path) {
  // The desktop's launcher reports success even for a missing file, so look first.
  const QFileInfo file(Q(path));
  if (!file.isFile()) return false;
  return QDesktopServices::openUrl(QUrl::fromLocalFile(file.absoluteFilePath()));
}

int QtPlatform::ScreenPixelsPerInch() const {
  const QScreen* screen = QApplication::primaryScreen();
  return screen ? static_cast<int>(screen->logicalDotsPerInch()) : 96;
}

bool QtPlatform::WritePicture(const PictureRequest& request) {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const bool written = WritePictureFile(request);
  QApplication::restoreOverrideCursor();
  return written;
}

void QtPlatform::CopyPicture(const PictureRequest& request) {
  // A bitmap for painting programs and a drawing for office and vector programs.
  auto* data = new QMimeData;
  data->setImageData(PictureImage(request.Frame, request.Draw));
  data->setData(QStringLiteral("image/svg+xml"), PictureSvg(request.Frame, request.Draw, request.Title));
  QApplication::clipboard()->setMimeData(data);
}

bool QtPlatform::PrintPicture(PrintRequest& request) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(Q(request.Title));
  printer.setCreator(QStringLiteral("DREX-2D"));
  QPrintPreviewDialog preview(&printer, mainWindow_);
  preview.setWindowTitle(Q(request.DialogTitle));
  // The choice of scale sits in the preview's tool bar, so that its effect shows at once.
  auto* scale = new QComboBox;
  scale->setObjectName(QStringLiteral("printScale"));
  scale->addItem(Q(request.FitPageText));
  scale->addItem(Q(request.TrueScaleText));
  scale->setCurrentIndex(request.TrueScale ? 1 : 0);
  if (auto* bar = preview.findChild<QToolBar*>()) {
    bar->addSeparator();
    bar->addWidget(new QLabel(Q(request.ScaleLabel) + QLatin1Char(' ')));
    bar->addWidget(scale);
  }
  QObject::connect(scale, &QComboBox::currentIndexChanged, &preview, [&](int index) {
    request.TrueScale = index == 1;
    if (auto* pages = preview.findChild<QPrintPreviewWidget*>()) pages->updatePreview();
  });
  QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview, [&](QPrinter* target) {
    QPainter painter(target);
    // The painter starts at the printable area's top left corner.
    const QRectF page = target->pageRect(QPrinter::DevicePixel);
    const PictureFrame frame = request.Layout(page.width(), page.height(), target->resolution(), request.TrueScale);
    PaintPicture(painter, frame, request.Draw);
  });
  return preview.exec() == QDialog::Accepted;
}

std::string QtPlatform::DesktopLanguage() const {
  const QStringList languages = QLocale::system().uiLanguages();
  return S(languages.isEmpty() ? QLocale::system().name() : languages.front());
}

AppFolders QtPlatform::Folders() const {
  AppFolders folders;
  const QString program = QCoreApplication::applicationDirPath();
  // Installed under a prefix, the shipped files are in share/drex2d beside bin/.
  const QString shared = QDir::cleanPath(program + QStringLiteral("/../share/drex2d"));
  const bool installed = QFileInfo(shared).isDir();
  if (installed) folders.Shipped.push_back(S(shared));
  folders.Shipped.push_back(S(program));
  if (!installed && QFileInfo(program).isWritable()) {
    // Run from the build folder or a portable copy: the user's files live beside the program.
    folders.Config = folders.Data = folders.Documents = S(program);
    return folders;
  }
  // An installed program's folders are only read, even where the user could write them.
  const auto under = [](QStandardPaths::StandardLocation location) {
    return S(QStandardPaths::writableLocation(location) + QStringLiteral("/drex2d"));
  };
  folders.Config = under(QStandardPaths::GenericConfigLocation);
  folders.Data = under(QStandardPaths::GenericDataLocation);
  const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  folders.Documents = S(QFileInfo(documents).isDir() ? documents : QDir::homePath());
  return folders;
}

} // namespace drex
