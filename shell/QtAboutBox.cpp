#include "shell/QtAboutBox.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/QtFormText.h"

namespace drex {

namespace {

QLabel* Text(const std::string& text, QWidget* parent) {
  auto* label = new QLabel(Q(text), parent);
  // The texts come from language files too: shown as they are, never as markup.
  label->setTextFormat(Qt::PlainText);
  label->setWordWrap(true);
  return label;
}

} // namespace

TAboutFrm::TAboutFrm(const AboutContents& about, const std::string& closeCaption, std::function<void()> openHelp,
                     QWidget* parent)
    : QDialog(parent) {
  setObjectName(QStringLiteral("AboutFrm"));
  setWindowTitle(Q(about.Title));
  auto* icon = new QLabel(this);
  icon->setPixmap(QApplication::windowIcon().pixmap(64, 64));
  icon->setAlignment(Qt::AlignTop);
  auto* name = Text(about.Name, this);
  QFont big = name->font();
  big.setPointSizeF(big.pointSizeF() * 1.6);
  big.setBold(true);
  name->setFont(big);
  auto* help = new QPushButton(Q(about.HelpLink), this);
  help->setObjectName(QStringLiteral("aboutHelp"));
  help->setFlat(true);
  help->setCursor(Qt::PointingHandCursor);
  QFont link = help->font();
  link.setUnderline(true);
  help->setFont(link);
  connect(help, &QPushButton::clicked, this, [openHelp] {
    if (openHelp) openHelp();
  });
  auto* text = new QVBoxLayout;
  text->addWidget(name);
  text->addWidget(Text(about.Version, this));
  text->addSpacing(8);
  text->addWidget(Text(about.Description, this));
  text->addSpacing(8);
  text->addWidget(Text(about.License, this));
  text->addWidget(help, 0, Qt::AlignLeft);
  auto* row = new QHBoxLayout;
  row->addWidget(icon);
  row->addLayout(text, 1);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  buttons->button(QDialogButtonBox::Close)->setText(Q(closeCaption));
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* column = new QVBoxLayout(this);
  column->addLayout(row);
  column->addWidget(buttons);
  setMinimumWidth(420);
}

} // namespace drex
