#include "FrmSplash.h"

#include <QApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

#include "ProgramLogo.h"
#include "Prompter.h"
#include "VersionText.h"

namespace brixel {

FrmSplash::FrmSplash(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
  setObjectName("FrmSplash");
  setAttribute(Qt::WA_ShowWithoutActivating);

  // A dark card with the logo beside the name, the version and what the program is.
  // Colours through the palette rather than a style sheet, which would cost the start-up a
  // style of its own.
  auto* card = new QFrame(this);
  card->setObjectName("FmeSplash");
  card->setFrameShape(QFrame::Box);
  card->setLineWidth(1);
  QPalette colours = card->palette();
  colours.setColor(QPalette::Window, QColor(0x1E, 0x29, 0x3B));
  colours.setColor(QPalette::WindowText, QColor(0xE2, 0xE8, 0xF0));
  colours.setColor(QPalette::Light, QColor(0x0F, 0x17, 0x2A));
  colours.setColor(QPalette::Dark, QColor(0x0F, 0x17, 0x2A));
  card->setPalette(colours);
  card->setAutoFillBackground(true);

  auto* logo = new QLabel(card);
  logo->setObjectName("PctLogo");
  logo->setPixmap(ProgramLogo(96));

  auto* title = new QLabel(QString::fromLatin1(kApplicationTitle), card);
  title->setObjectName("LblTitle");
  QFont titleFont = title->font();
  titleFont.setPointSizeF(titleFont.pointSizeF() * 2.4);
  titleFont.setBold(true);
  title->setFont(titleFont);
  QPalette white = title->palette();
  white.setColor(QPalette::WindowText, Qt::white);
  title->setPalette(white);

  auto* subtitle = new QLabel("Icon and cursor editor", card);
  subtitle->setObjectName("LblSubtitle");

  version_ = new QLabel(ProgramVersionText(), card);
  version_->setObjectName("LblVersion");

  auto* text = new QVBoxLayout;
  text->addStretch(1);
  text->addWidget(title);
  text->addWidget(subtitle);
  text->addSpacing(12);
  text->addWidget(version_);
  text->addStretch(1);

  auto* body = new QHBoxLayout(card);
  body->setContentsMargins(28, 24, 36, 24);
  body->setSpacing(24);
  body->addWidget(logo);
  body->addLayout(text);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(card);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void FrmSplash::ShowAndPaint() {
  adjustSize();
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    QRect frame = rect();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
  }
  show();
  raise();
  QApplication::processEvents();
}

}  // namespace brixel
