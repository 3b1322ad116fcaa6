#include "ImageStrip.h"

#include <QApplication>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <cmath>

#include "AnimatedCursors.h"
#include "CurrentDocument.h"
#include "ImageDocument.h"
#include "ImagePicture.h"
#include "PictureBox.h"
#include "QtColour.h"
#include "Rendering.h"

namespace brixel {
namespace {

// The width an image's picture has before it is fitted into the strip.
int FullWidth(const IconImage& image) { return image.IsKept() ? image.Kept.entry->width : image.Width; }

// Design position of element 0 on PctScroll, and the gaps between the elements below it.
constexpr int kLeft = 8;
constexpr int kFirstCaptionTop = 6;
constexpr int kGapAboveCaption = 10;
constexpr int kGapAbovePicture = 4;
constexpr int kGapBelowStrip = 4;

const QColor kSelectedCaption(255, 100, 100);
constexpr int kFrameWidth = 2;

QString DepthText(int bitDepth) {
  switch (bitDepth) {
    case 1: return " 2 color";
    case 4: return " 16 color";
    case 8: return " 256 color";
    case 24: return " true color";
    case 32: return " 32 bit color";
    default: return QString();
  }
}

int ButtonCode(Qt::MouseButton button) {
  switch (button) {
    case Qt::LeftButton: return 1;
    case Qt::RightButton: return 2;
    case Qt::MiddleButton: return 4;
    default: return 0;
  }
}

// The frame round the selected picture, in the selected caption's colour: the picture covers
// all of it but its border.
class SelectionFrame final : public QWidget {
 public:
  using QWidget::QWidget;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    QPen pen(kSelectedCaption, kFrameWidth);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    painter.drawRect(QRectF(rect()).adjusted(kFrameWidth / 2.0, kFrameWidth / 2.0, -kFrameWidth / 2.0,
                                             -kFrameWidth / 2.0));
  }
};

int Bottom(const QWidget* widget) { return widget->y() + widget->height(); }

// A caption on the strip's Base background is painted in the Text role rather than WindowText,
// so the colour goes to whichever role the label paints with.
void SetCaptionColour(QLabel* caption, const QColor& colour) {
  QPalette palette = caption->palette();
  palette.setColor(caption->foregroundRole(), colour);
  caption->setPalette(palette);
}

}  // namespace

ImageStrip::ImageStrip(QWidget* parent)
    : QFrame(parent),
      container_(new QWidget(this)),
      scroll_(new QWidget(container_)),
      scrollBar_(new QScrollBar(Qt::Vertical, this)),
      acrossBar_(new QScrollBar(Qt::Horizontal, this)),
      frame_(new SelectionFrame(scroll_)) {
  setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);

  container_->setObjectName("PctContainer");
  container_->setBackgroundRole(QPalette::Base);
  container_->setAutoFillBackground(true);
  container_->installEventFilter(this);

  scroll_->setObjectName("PctScroll");
  scroll_->setBackgroundRole(QPalette::Base);
  scroll_->setAutoFillBackground(true);
  scroll_->move(0, 0);

  scrollBar_->setObjectName("scrIcon");
  scrollBar_->setEnabled(false);
  scrollBar_->setSingleStep(16);
  connect(scrollBar_, &QScrollBar::valueChanged, this,
          [this](int value) { scroll_->move(scroll_->x(), -value); });
  acrossBar_->setObjectName("scrIconAcross");
  acrossBar_->setSingleStep(16);
  acrossBar_->hide();
  connect(acrossBar_, &QScrollBar::valueChanged, this,
          [this](int value) { scroll_->move(-value, scroll_->y()); });

  frame_->setObjectName("FrmSelected");
  frame_->hide();

  auto* layout = new QGridLayout(this);
  layout->setContentsMargins(frameWidth(), frameWidth(), frameWidth(), frameWidth());
  layout->setSpacing(0);
  layout->addWidget(container_, 0, 0);
  layout->addWidget(scrollBar_, 0, 1);
  layout->addWidget(acrossBar_, 1, 0);

  AddElement();
  captions_[0]->setText("Info Label");
  captions_[0]->adjustSize();
  captions_[0]->move(kLeft, kFirstCaptionTop);
  pictures_[0]->move(kLeft, Bottom(captions_[0]) + kGapAbovePicture);
  captions_[0]->hide();
  pictures_[0]->hide();
}

// For an animated cursor, the rate of each image's frame in jiffies and milliseconds: that of
// its first step, or the default rate for a frame no step shows. Empty for other documents.
static std::vector<QString> FrameRates(const ImageDocument& document) {
  const cAni* cursor = AnimationOf(dynamic_cast<const cIco*>(&document));
  if (!cursor) return {};
  const auto count = static_cast<std::size_t>(document.IconCount());
  const std::vector<std::size_t> sizes = AniFrameSizes(cursor->Info(), count);
  const std::vector<AniStep> steps = AniSteps(cursor->Info(), count);
  std::vector<QString> rates;
  for (std::size_t frame = 0; frame < sizes.size(); ++frame) {
    std::int32_t rate = cursor->Header().DisplayRate;
    const auto shown = std::find_if(steps.begin(), steps.end(),
                                    [&](const AniStep& s) { return s.Frame == static_cast<std::int32_t>(frame); });
    if (shown != steps.end()) rate = shown->Rate;
    const QString text = QString("%1 jiffies, %2 ms").arg(rate).arg(JiffiesToMilliseconds(rate));
    rates.insert(rates.end(), sizes[frame], text);
  }
  return rates;
}

QString ImageStrip::Caption(int width, int height, int bitDepth) {
  return QString::number(width) + "x" + QString::number(height) + DepthText(bitDepth);
}

QString ImageStrip::KeptCaption(const KeptEntry& kept) {
  return QString::number(kept.width) + "x" + QString::number(kept.height) + " " +
         QString::fromStdString(kept.reason) + "\n(kept as it is)";
}

void ImageStrip::AddElement() {
  const int index = static_cast<int>(pictures_.size());
  auto* caption = new QLabel(scroll_);
  caption->setObjectName(QString("LblIco%1").arg(index));
  caption->installEventFilter(this);
  auto* picture = new PictureBox(1, 1, scroll_);
  picture->setObjectName(QString("PctIco%1").arg(index));
  picture->Surface().BackColor(ColourFromRgb(palette().color(QPalette::Base).rgb()));
  connect(picture, &PictureBox::MouseDown, this,
          [this, index](int button, int, float, float) { emit ImagePressed(index, button); });
  captions_.push_back(caption);
  pictures_.push_back(picture);
}

void ImageStrip::RemoveElementsAboveZero() {
  for (std::size_t i = 1; i < pictures_.size(); ++i) {
    delete captions_[i];
    delete pictures_[i];
  }
  captions_.resize(1);
  pictures_.resize(1);
}

bool ImageStrip::Build(const ImageDocument* document) {
  const unsigned build = ++builds_;
  pictures_[0]->hide();
  captions_[0]->hide();
  RemoveElementsAboveZero();
  count_ = 0;
  frame_->hide();
  scrollBar_->setValue(0);
  scrollBar_->setEnabled(false);
  scroll_->resize(container_->width(), container_->height());
  if (!document) return true;
  const std::vector<QString> rates = FrameRates(*document);

  for (std::int16_t i = 0; i < document->IconCount(); ++i) {
    if (i > 0) {
      AddElement();
      captions_[i]->move(pictures_[i - 1]->x(), Bottom(pictures_[i - 1]) + kGapAboveCaption);
    }
    QLabel* caption = captions_[i];
    PictureBox* picture = pictures_[i];
    // A kept entry shows as a placeholder of its size, under a caption that says why.
    const KeptEntry* kept = document->Image(i).IsKept() ? document->Image(i).Kept.entry.get() : nullptr;
    const int width = FullWidth(document->Image(i));
    const int height = kept ? kept->height : document->Height(i) / 2;
    caption->setText((kept ? KeptCaption(*kept) : Caption(width, height, document->BitDepth(i))) +
                     (rates.empty() ? QString() : "\n" + rates[static_cast<std::size_t>(i)]));
    caption->adjustSize();
    picture->move(caption->x(), Bottom(caption) + kGapAbovePicture);
    DrawImage(*document, i);
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    if (build != builds_) return false;
    picture->show();
    caption->show();
    count_ = i + 1;
    scroll_->resize(container_->width(), Bottom(picture) + kGapBelowStrip);
  }
  UpdateScrollRange();
  return true;
}

void ImageStrip::Restack(const ImageDocument& document) {
  const int drawnRoom = drawnRoom_;
  for (std::int16_t i = 0; i < count_; ++i) {
    const auto at = static_cast<std::size_t>(i);
    if (i > 0) captions_[at]->move(kLeft, Bottom(pictures_[at - 1]) + kGapAboveCaption);
    // Only pictures that were narrowed, or must be now, change with the room.
    if (FullWidth(document.Image(i)) > std::min(drawnRoom, PictureRoom())) DrawImage(document, i);
    pictures_[at]->move(kLeft, Bottom(captions_[at]) + kGapAbovePicture);
  }
  drawnRoom_ = PictureRoom();
  narrowLater_ = false;
  scroll_->resize(scroll_->width(), Bottom(pictures_[static_cast<std::size_t>(count_ - 1)]) + kGapBelowStrip);
  PlaceFrame();
}

int ImageStrip::PictureRoom() const { return std::max(1, container_->width() - 2 * kLeft); }

void ImageStrip::DrawImage(const ImageDocument& document, std::int16_t index) {
  drawnRoom_ = PictureRoom();
  const IconImage& image = document.Image(index);
  if (image.IsKept()) {
    // No pixels to show: a placeholder of its size, as wide as the strip lets it be.
    QtPictureSurface& surface = pictures_[static_cast<std::size_t>(index)]->Surface();
    const int width = std::min(image.Kept.entry->width, PictureRoom());
    const int height = std::max(1, image.Kept.entry->height * width / std::max(1, image.Kept.entry->width));
    surface.Resize(width, height);
    DrawKeptPlaceholder(surface, width, height);
    if (index == selected_) PlaceFrame();
    return;
  }
  QtPictureSurface& surface = pictures_[static_cast<std::size_t>(index)]->Surface();
  if (!isVisible() && image.Width > PictureRoom()) {
    // Before the strip first shows, its width is not yet the one it shows with: a picture that
    // must be narrowed only takes its room now and is drawn at the first resize (Restack).
    const int width = PictureRoom();
    surface.Resize(width, std::max(1, static_cast<int>(std::lround(double(image.Height()) * width / image.Width))));
    narrowLater_ = true;
  } else {
    surface.Assign(ImagePicture(image).FittedOverCheckerboard(PictureRoom()));
  }
  if (index == selected_) PlaceFrame();
}

void ImageStrip::PlaceFrame() {
  if (selected_ < 0 || selected_ >= count_) {
    frame_->hide();
    return;
  }
  const QWidget* picture = pictures_[static_cast<std::size_t>(selected_)];
  frame_->setGeometry(picture->geometry().adjusted(-kFrameWidth, -kFrameWidth, kFrameWidth, kFrameWidth));
  frame_->lower();
  frame_->show();
}

void ImageStrip::UpdateScrollRange() {
  int wide = container_->width();
  for (int i = 0; i < count_; ++i) {
    const auto at = static_cast<std::size_t>(i);
    wide = std::max({wide, captions_[at]->x() + captions_[at]->width() + kLeft,
                     pictures_[at]->x() + pictures_[at]->width() + kLeft});
  }
  scroll_->resize(wide, scroll_->height());
  acrossBar_->setVisible(wide > container_->width());
  acrossBar_->setRange(0, wide - container_->width());
  acrossBar_->setPageStep(container_->width());
  const int overflow = scroll_->height() - container_->height();
  if (count_ > 0 && overflow > 0) {
    scrollBar_->setEnabled(true);
    scrollBar_->setMaximum(overflow + kGapBelowStrip);
    scrollBar_->setPageStep(container_->height());
  } else {
    scrollBar_->setValue(0);
    scrollBar_->setEnabled(false);
  }
}

void ImageStrip::MarkSelected(int index) {
  const QColor normal = QApplication::palette().color(QPalette::ButtonText);
  for (std::size_t i = 0; i < captions_.size(); ++i) {
    SetCaptionColour(captions_[i], static_cast<int>(i) == index ? kSelectedCaption : normal);
  }
  selected_ = index;
  PlaceFrame();
}

void ImageStrip::RedrawImage(const ImageDocument& document, std::int16_t index) {
  if (index < 0 || index >= count_ || !HasImage(&document, index)) return;
  DrawImage(document, index);
}

bool ImageStrip::eventFilter(QObject* watched, QEvent* event) {
  if (watched == container_) {
    if (event->type() == QEvent::Resize) {
      const cIco* document = CurrentIconDocument();
      if (count_ > 0 && (drawnRoom_ != PictureRoom() || narrowLater_) && document && document->IconCount() == count_) {
        Restack(*document);
      }
      scroll_->resize(container_->width(), count_ > 0 ? scroll_->height() : container_->height());
      UpdateScrollRange();
    } else if (event->type() == QEvent::Wheel && scrollBar_->isEnabled()) {
      QApplication::sendEvent(scrollBar_, event);
      return true;
    }
    return false;
  }
  if (event->type() == QEvent::MouseButtonPress) {
    const auto found = std::find(captions_.begin(), captions_.end(), watched);
    if (found != captions_.end()) {
      const int code = ButtonCode(static_cast<QMouseEvent*>(event)->button());
      emit ImagePressed(static_cast<int>(found - captions_.begin()), code);
      return true;
    }
  }
  return QFrame::eventFilter(watched, event);
}

}  // namespace brixel
