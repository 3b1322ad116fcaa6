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
  auto* card = new QFrame(this);
  card->setObjectName("FmeSplash");
  card->setStyleSheet(
      "#FmeSplash { background: #1E293B; border: 1px solid #0F172A; }"
      "#FmeSplash QLabel { color: #E2E8F0; }"
      "#FmeSplash QLabel#LblTitle { color: #FFFFFF; }");

  auto* logo = new QLabel(card);
  logo->setObjectName("PctLogo");
  logo->setPixmap(ProgramLogo(96));

  auto* title = new QLabel(QString::fromLatin1(kApplicationTitle), card);
  title->setObjectName("LblTitle");
  QFont titleFont = title->font();
  titleFont.setPointSizeF(titleFont.pointSizeF() * 2.4);
  titleFont.setBold(true);
  title->setFont(titleFont);

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
