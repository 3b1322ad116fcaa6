#include "FrmAnimation.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <string>
#include <tuple>

#include "Prompter.h"
#include "Thumbnail.h"
#include "Windows1252.h"
#include "cAni.h"

namespace brixel {
namespace {

constexpr int kPreviewSize = 128;
constexpr std::int32_t kMaxRate = 1000000;

QString Numbers(const std::vector<std::int32_t>& values) {
  QStringList parts;
  for (std::int32_t v : values) parts << QString::number(v);
  return parts.join(' ');
}

int Milliseconds(std::int32_t jiffies) { return static_cast<int>(JiffiesToMilliseconds(jiffies)); }

// A frame's first image that can be shown, as the preview shows it: fitted into the preview,
// as a thumbnail is; a grey square for a frame of kept entries only.
QPixmap PreviewPicture(const std::vector<IconImage>& images, std::size_t first, std::size_t last) {
  std::size_t shownAt = first;
  while (shownAt < last && images[shownAt].IsKept()) ++shownAt;
  if (shownAt >= last) {
    QPixmap placeholder(kPreviewSize / 2, kPreviewSize / 2);
    placeholder.fill(QColor(224, 224, 224));
    return placeholder;
  }
  const RgbaPicture shown = MakeThumbnail(images[shownAt], kPreviewSize);
  return QPixmap::fromImage(
      QImage(shown.Rgba.data(), shown.Width, shown.Height, shown.Width * 4, QImage::Format_RGBA8888).copy());
}

}  // namespace

FrmAnimation::FrmAnimation(cAni& cursor, QWidget* parent) : QDialog(parent), cursor_(cursor) {
  setObjectName("FrmAnimation");
  setWindowTitle("Animation");
  preview_ = new QLabel(this);
  preview_->setObjectName("LblPreview");
  preview_->setFixedSize(kPreviewSize + 8, kPreviewSize + 8);
  preview_->setAlignment(Qt::AlignCenter);
  preview_->setStyleSheet("background: #c0c0c0");
  play_ = new QPushButton("Pause", this);
  play_->setObjectName("CmdPlay");
  stepLabel_ = new QLabel(this);
  stepLabel_->setObjectName("LblStep");
  sequenceLabel_ = new QLabel(this);
  sequenceLabel_->setObjectName("LblSequence");
  sequenceLabel_->setWordWrap(true);

  name_ = new QLineEdit(this);
  name_->setObjectName("TxtName");
  artist_ = new QLineEdit(this);
  artist_->setObjectName("TxtArtist");
  rate_ = new QSpinBox(this);
  rate_->setObjectName("SpnRate");
  rate_->setRange(0, kMaxRate);  // players show a step of 0 for the shortest time they can
  rate_->setSuffix(" jiffies");
  rates_ = new QLineEdit(this);
  rates_->setObjectName("TxtRates");
  sequence_ = new QLineEdit(this);
  sequence_->setObjectName("TxtSequence");

  auto* previewColumn = new QVBoxLayout;
  previewColumn->addWidget(preview_);
  previewColumn->addWidget(play_);
  previewColumn->addStretch();
  auto* form = new QFormLayout;
  form->addRow("Name:", name_);
  form->addRow("Artist:", artist_);
  form->addRow("Default rate:", rate_);
  form->addRow("Rates:", rates_);
  form->addRow("Sequence:", sequence_);
  form->addRow(stepLabel_);
  form->addRow(sequenceLabel_);
  auto* top = new QHBoxLayout;
  top->addLayout(previewColumn);
  top->addLayout(form, 1);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Apply | QDialogButtonBox::Cancel, this);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(buttons);

  timer_ = new QTimer(this);
  timer_->setSingleShot(true);
  connect(timer_, &QTimer::timeout, this, &FrmAnimation::NextStep);
  connect(play_, &QPushButton::clicked, this, &FrmAnimation::TogglePlay);
  connect(buttons, &QDialogButtonBox::accepted, this, [this] {
    if (Apply()) accept();
  });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(buttons->button(QDialogButtonBox::Apply), &QPushButton::clicked, this, [this] { Apply(); });

  LoadFields();
  ShowStep();
}

std::optional<std::vector<std::int32_t>> FrmAnimation::ParseNumbers(const QString& text, std::int32_t low,
                                                                     std::int32_t high) {
  std::vector<std::int32_t> values;
  for (const QString& part : text.split(QRegularExpression("[\\s,]+"), Qt::SkipEmptyParts)) {
    bool ok = false;
    const qlonglong value = part.toLongLong(&ok);
    if (!ok || value < low || value > high) return std::nullopt;
    values.push_back(static_cast<std::int32_t>(value));
  }
  return values;
}

void FrmAnimation::LoadFields() {
  // The file's texts are Windows-1252; what the fields hold now is what "not edited" means.
  name_->setText(QString::fromStdString(Windows1252ToUtf8(cursor_.CursorName())));
  artist_->setText(QString::fromStdString(Windows1252ToUtf8(cursor_.CursorArtist())));
  loadedName_ = name_->text();
  loadedArtist_ = artist_->text();
  steps_ = cursor_.Steps();
  // Made once here, not at every step the timer shows.
  framePictures_.clear();
  const std::vector<std::size_t> starts = AniFrameStarts(cursor_.Info(), cursor_.Images().size());
  for (std::size_t frame = 0; frame + 1 < starts.size(); ++frame) {
    framePictures_.push_back(PreviewPicture(cursor_.Images(), starts[frame], starts[frame + 1]));
  }
  const std::int32_t defaultRate = cursor_.Header().DisplayRate;
  rate_->setValue(std::clamp(defaultRate, 0, kMaxRate));
  shownRate_ = rate_->value();
  std::vector<std::int32_t> rates, frames;
  bool defaultRates = true, inOrder = steps_.size() == cursor_.FrameSizes().size();
  for (std::size_t i = 0; i < steps_.size(); ++i) {
    rates.push_back(steps_[i].Rate);
    frames.push_back(steps_[i].Frame);
    defaultRates = defaultRates && steps_[i].Rate == defaultRate;
    inOrder = inOrder && steps_[i].Frame == static_cast<std::int32_t>(i);
  }
  rates_->setText(defaultRates ? QString() : Numbers(rates));
  sequence_->setText(inOrder ? QString() : Numbers(frames));
  sequenceLabel_->setText("Steps: " + Numbers(frames));
  step_ = 0;
}

bool FrmAnimation::Playing() const { return play_->text() == "Pause"; }

void FrmAnimation::TogglePlay() {
  play_->setText(Playing() ? "Play" : "Pause");
  if (Playing()) ShowStep();
  else timer_->stop();
}

void FrmAnimation::NextStep() {
  if (!steps_.empty()) step_ = (step_ + 1) % steps_.size();
  ShowStep();
}

void FrmAnimation::ShowStep() {
  timer_->stop();
  if (steps_.empty()) return;
  const AniStep& step = steps_[step_];
  const auto frame = static_cast<std::size_t>(step.Frame);
  preview_->setPixmap(frame < framePictures_.size() ? framePictures_[frame] : QPixmap());
  stepLabel_->setText(QString("Step %1 of %2: frame %3, %4 jiffies (%5 ms)")
                          .arg(step_ + 1)
                          .arg(steps_.size())
                          .arg(step.Frame)
                          .arg(step.Rate)
                          .arg(Milliseconds(step.Rate)));
  // A rate of 0 or less still moves on.
  if (Playing()) timer_->start(std::max(1, Milliseconds(step.Rate)));
}

bool FrmAnimation::Apply() {
  const auto frames = static_cast<std::int32_t>(cursor_.FrameSizes().size());
  const auto sequence = ParseNumbers(sequence_->text(), 0, frames - 1);
  if (!sequence) {
    ShowMessage("Animation", "The sequence lists frame numbers from 0 to " + std::to_string(frames - 1) +
                                 ", separated by spaces");
    sequence_->setFocus();
    return false;
  }
  const std::size_t steps = sequence->empty() ? static_cast<std::size_t>(frames) : sequence->size();
  const auto rates = ParseNumbers(rates_->text(), 0, kMaxRate);
  if (!rates || (rates->size() > 1 && rates->size() != steps)) {
    ShowMessage("Animation", "The rates are one number of jiffies (1/60 s) for every step, or one for each of the " +
                                 std::to_string(steps) + " steps");
    rates_->setFocus();
    return false;
  }
  // Texts are written in Windows-1252: one the user did not edit keeps its bytes, and a
  // character that set lacks is refused.
  std::optional<std::string> name, artist;
  for (auto [field, loaded, bytes, text, label] :
       {std::tuple{name_, &loadedName_, &name, &cursor_.CursorName(), "name"},
        std::tuple{artist_, &loadedArtist_, &artist, &cursor_.CursorArtist(), "artist"}}) {
    if (field->text() == *loaded) {
      *bytes = *text;
      continue;
    }
    char32_t refused = 0;
    *bytes = Utf8ToWindows1252(field->text().toStdString(), &refused);
    if (!*bytes) {
      ShowMessage("Animation", std::string("The ") + label + " cannot hold " + DescribeCharacter(refused) +
                                   ": animated cursors keep their texts in the Windows-1252 character set");
      field->setFocus();
      return false;
    }
  }
  cursor_.CursorName(*name);
  cursor_.CursorArtist(*artist);
  // A rate the box could not show as it is (a negative one) stays unless the user set another.
  if (rate_->value() != shownRate_) cursor_.DisplayRate(rate_->value());
  // The sequence of the file's frames is now one of the frames as they are.
  std::vector<std::size_t> sizes = cursor_.FrameSizes();
  cursor_.Sequence(*sequence);
  cursor_.Rates(rates->size() == 1 ? std::vector<std::int32_t>(steps, rates->front()) : *rates);
  cursor_.FrameGrouping(sizes);
  applied_ = true;
  LoadFields();
  ShowStep();
  return true;
}

}  // namespace brixel
