#include "FrmSplash.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <algorithm>
#include <cmath>

#include "ProgramLogo.h"
#include "Prompter.h"
#include "VersionText.h"

namespace brixel {
namespace {

// A dark card with the logo beside the name, what the program is, and the version.
const QColor kCard(0x1E, 0x29, 0x3B);
const QColor kEdge(0x0F, 0x17, 0x2A);
const QColor kText(0xE2, 0xE8, 0xF0);
constexpr int kLogoSize = 96;
constexpr int kMarginLeft = 28;
constexpr int kMarginTop = 24;
constexpr int kMarginRight = 36;
constexpr int kMarginBottom = 24;
constexpr int kLogoGap = 24;
constexpr int kVersionGap = 12;
// The title is the bold text font drawn larger through the painter rather than a font of its
// own size: the main window's bold labels use that font too, and every font size or weight
// costs the start a font engine of its own.
constexpr qreal kTitleScale = 2.4;

const char* const kSubtitle = "Icon and cursor editor";

QFont TitleFont(const QFont& text) {
  QFont font = text;
  font.setBold(true);
  return font;
}

}  // namespace

FrmSplash::FrmSplash(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      logo_(ProgramLogo(kLogoSize)) {
  setObjectName("FrmSplash");
  setAttribute(Qt::WA_ShowWithoutActivating);
  // The card is painted whole by paintEvent; only the version is a label, the one text that
  // start-up sets.
  setAttribute(Qt::WA_OpaquePaintEvent);

  version_ = new QLabel(ProgramVersionText(), this);
  version_->setObjectName("LblVersion");
  QPalette colours = version_->palette();
  colours.setColor(QPalette::WindowText, kText);
  version_->setPalette(colours);
  version_->adjustSize();

  const QFontMetricsF title(TitleFont(font()));
  const QFontMetricsF text(font());
  const qreal titleWidth = title.horizontalAdvance(QString::fromLatin1(kApplicationTitle)) * kTitleScale;
  const qreal titleHeight = (title.ascent() + title.descent()) * kTitleScale;
  const qreal textHeight = titleHeight + text.height() + kVersionGap + version_->height();
  const qreal textWidth = std::max({titleWidth, text.horizontalAdvance(QString::fromLatin1(kSubtitle)),
                                    qreal(version_->width())});

  const int innerHeight = std::max(kLogoSize, int(std::ceil(textHeight)));
  const int textLeft = kMarginLeft + kLogoSize + kLogoGap;
  setFixedSize(textLeft + int(std::ceil(textWidth)) + kMarginRight, kMarginTop + innerHeight + kMarginBottom);

  logoAt_ = QPoint(kMarginLeft, kMarginTop + (innerHeight - kLogoSize) / 2);
  const qreal textTop = kMarginTop + (innerHeight - textHeight) / 2;
  titleAt_ = QPointF(textLeft, textTop + title.ascent() * kTitleScale);
  subtitleAt_ = QPointF(textLeft, textTop + titleHeight + text.ascent());
  version_->move(textLeft, int(std::lround(textTop + titleHeight + text.height() + kVersionGap)));
}

void FrmSplash::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), kCard);
  painter.setPen(kEdge);
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
  painter.drawPixmap(logoAt_, logo_);

  painter.setRenderHint(QPainter::TextAntialiasing);
  painter.setPen(Qt::white);
  painter.setFont(TitleFont(font()));
  painter.save();
  painter.translate(titleAt_);
  painter.scale(kTitleScale, kTitleScale);
  painter.drawText(QPointF(0, 0), QString::fromLatin1(kApplicationTitle));
  painter.restore();

  painter.setPen(kText);
  painter.setFont(font());
  painter.drawText(subtitleAt_, QString::fromLatin1(kSubtitle));
}

void FrmSplash::ShowAndPaint() {
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
