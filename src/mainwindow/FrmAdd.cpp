#include "FrmAdd.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QGroupBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <array>
#include <cmath>
#include <cstdlib>

#include "IconSet.h"
#include "ImageDocument.h"
#include "SizeDepthChecks.h"
#include "OkCancelButtons.h"
#include "Prompter.h"
#include "TrapErrors.h"

namespace brixel {
namespace {

struct SizeChoice {
  const char* text;
  int side;  // 0 for "Custom"
};
constexpr std::array<SizeChoice, 8> kSizes = {{{"16 x 16", 16},
                                               {"24 x 24", 24},
                                               {"32 x 32", 32},
                                               {"48 x 48", 48},
                                               {"64 x 64", 64},
                                               {"128 x 128", 128},
                                               {"256 x 256", 256},
                                               {"Custom", 0}}};
constexpr int kCustomIndex = 7;

struct DepthChoice {
  const char* text;
  int bitDepth;
};
constexpr std::array<DepthChoice, 5> kDepths = {{{"32 Bit Color", 32},
                                                 {"True Color", 24},
                                                 {"256 Color", 8},
                                                 {"16 Color", 4},
                                                 {"2 Color", 1}}};
constexpr int kDefaultIndex = 2;  // "256 Color", "32 x 32"

QLabel* Caption(const char* name, const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  return label;
}

}  // namespace

FrmAdd::FrmAdd(ImageDocument& document, std::function<void()> showCount, QWidget* owner)
    : QDialog(owner), document_(document), showCount_(std::move(showCount)) {
  setObjectName("FrmAdd");
  setWindowTitle("Add a new image to the icon");
  setModal(true);

  auto* label1 =
      Caption("Label1", "Please select the icon size and color depth then click OK", this);
  cboSize_ = new QComboBox(this);
  cboSize_->setObjectName("cboSize");
  cboColor_ = new QComboBox(this);
  cboColor_->setObjectName("CboColor");
  auto* label2 = Caption("Label2", "Size", this);
  label2->setBuddy(cboSize_);
  auto* label3 = Caption("Label3", "Color Depth", this);
  label3->setBuddy(cboColor_);

  txtWidth_ = new QLineEdit("32", this);
  txtWidth_->setObjectName("TxtWidth");
  lblX_ = Caption("LblX", "x", this);
  txtHeight_ = new QLineEdit("32", this);
  txtHeight_->setObjectName("TxtHeight");
  for (QLineEdit* box : {txtWidth_, txtHeight_}) {
    box->setMaximumWidth(60);
    box->installEventFilter(this);
  }
  note_ = Caption("Label4", "Please note that custom icons may not display correctly in windows.", this);
  note_->setWordWrap(true);

  // Every size of the lists times every depth, the set Windows picks from ticked.
  several_ = new QGroupBox("Several at once", this);
  several_->setObjectName("FraSeveral");
  several_->setCheckable(true);
  several_->setChecked(false);
  std::vector<std::pair<int, QString>> depths;
  for (const DepthChoice& choice : kDepths) depths.emplace_back(choice.bitDepth, choice.text);
  std::vector<int> sides;
  for (const SizeChoice& choice : kSizes) {
    if (choice.side > 0) sides.push_back(choice.side);
  }
  checks_ = new SizeDepthChecks(sides, depths, several_);
  checks_->setObjectName("ChkImages");
  checks_->SetChecked({std::begin(kWindowsIconSet), std::end(kWindowsIconSet)});
  auto* severalLayout = new QVBoxLayout(several_);
  severalLayout->addWidget(checks_);

  QDialogButtonBox* buttons = OkCancelButtons(this, &FrmAdd::Confirm);

  auto* custom = new QHBoxLayout;
  custom->addWidget(txtWidth_);
  custom->addWidget(lblX_);
  custom->addWidget(txtHeight_);
  custom->addStretch(1);

  auto* grid = new QGridLayout;
  grid->addWidget(label2, 0, 0);
  grid->addWidget(cboSize_, 0, 1);
  grid->addWidget(label3, 1, 0);
  grid->addWidget(cboColor_, 1, 1);
  grid->addLayout(custom, 2, 1);
  grid->setColumnStretch(1, 1);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(label1);
  layout->addLayout(grid);
  layout->addWidget(note_);
  layout->addWidget(several_);
  layout->addWidget(buttons);
  // The dialog grows by the custom row when "Custom" is chosen and shrinks again without it.
  layout->setSizeConstraint(QLayout::SetFixedSize);

  for (const DepthChoice& choice : kDepths) cboColor_->addItem(choice.text);
  for (const SizeChoice& choice : kSizes) cboSize_->addItem(choice.text);
  connect(cboSize_, &QComboBox::currentIndexChanged, this, &FrmAdd::SizeChanged);
  connect(several_, &QGroupBox::toggled, this, &FrmAdd::SizeChanged);
  cboColor_->setCurrentIndex(kDefaultIndex);
  cboSize_->setCurrentIndex(kDefaultIndex);
  SizeChanged();
}

void FrmAdd::SizeChanged() {
  const bool several = several_->isChecked();
  const bool custom = cboSize_->currentIndex() == kCustomIndex && !several;
  txtWidth_->setVisible(custom);
  lblX_->setVisible(custom);
  txtHeight_->setVisible(custom);
  // The note is about custom sizes only.
  note_->setVisible(custom);
  cboSize_->setEnabled(!several);
  cboColor_->setEnabled(!several);
}

bool FrmAdd::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusIn) {
    if (auto* box = qobject_cast<QLineEdit*>(watched)) {
      // After the click that gave the focus has placed the cursor.
      QTimer::singleShot(0, box, &QLineEdit::selectAll);
    }
  }
  return QDialog::eventFilter(watched, event);
}

double FrmAdd::LeadingNumber(const QString& text) {
  const QByteArray bytes = text.trimmed().toLatin1();
  std::size_t end = 0;
  const auto digitsAt = [&bytes](std::size_t at) {
    std::size_t count = 0;
    while (at + count < static_cast<std::size_t>(bytes.size()) &&
           bytes[static_cast<qsizetype>(at + count)] >= '0' &&
           bytes[static_cast<qsizetype>(at + count)] <= '9') {
      ++count;
    }
    return count;
  };
  const auto at = [&bytes](std::size_t i) {
    return i < static_cast<std::size_t>(bytes.size()) ? bytes[static_cast<qsizetype>(i)] : '\0';
  };
  if (at(end) == '+' || at(end) == '-') ++end;
  std::size_t digits = digitsAt(end);
  end += digits;
  if (at(end) == '.') {
    const std::size_t fraction = digitsAt(end + 1);
    if (digits + fraction > 0) end += 1 + fraction;
    digits += fraction;
  }
  if (digits == 0) return 0;
  if (at(end) == 'e' || at(end) == 'E') {
    std::size_t exponent = end + 1;
    if (at(exponent) == '+' || at(exponent) == '-') ++exponent;
    if (const std::size_t count = digitsAt(exponent)) end = exponent + count;
  }
  const double value = std::strtod(bytes.left(static_cast<qsizetype>(end)).constData(), nullptr);
  return std::isfinite(value) ? value : 0;
}

int FrmAdd::CustomSide(const QLineEdit& box, const char* title, const char* text) const {
  const double value = LeadingNumber(box.text());
  // Sides that round to 0 or reach beyond what an image may sensibly hold are refused too.
  const double side = value > 0 ? std::nearbyint(value) : 0;
  if (side < 1 || side > kLargestCustomSide) {
    ShowMessage(title, text);
    return 0;
  }
  return static_cast<int>(side);
}

void FrmAdd::Confirm() {
  struct NewImage {
    int width;
    int height;
    int depth;
  };
  std::vector<NewImage> images;
  if (several_->isChecked()) {
    for (const IconSetEntry& entry : checks_->Checked()) images.push_back({entry.Size, entry.Size, entry.BitDepth});
    if (images.empty()) {
      ShowMessage("Several at once", "Please tick at least one size and color depth.");
      return;
    }
  } else {
    int width = kSizes[static_cast<std::size_t>(cboSize_->currentIndex())].side;
    int height = width;
    if (cboSize_->currentIndex() == kCustomIndex) {
      width = CustomSide(*txtWidth_, "Invalid Width", "Icon width must be Greater than 0");
      if (width == 0) return;
      height = CustomSide(*txtHeight_, "Invalid Height", "Icon Height must be Greater than 0");
      if (height == 0) return;
    }
    images.push_back({width, height, kDepths[static_cast<std::size_t>(cboColor_->currentIndex())].bitDepth});
  }
  const int before = document_.IconCount();
  Trap("PrjBrixel.FrmAdd.CmdOK_Click", [&] {
    for (const NewImage& image : images) {
      document_.AddImage(static_cast<std::int16_t>(image.width), static_cast<std::int16_t>(image.height),
                         static_cast<std::int16_t>(image.depth), -1);
      GiveAlphaToNewImage(document_.Image(static_cast<std::int16_t>(document_.IconCount() - 1)));
    }
  });
  appended_ = document_.IconCount() > before;
  // A document that still holds only New's untouched image gets the new one instead.
  if (appended_ && document_.NewIcon() && !document_.Changed()) {
    document_.DeleteImage(0);
    if (showCount_) showCount_();
  }
  accept();
}

}  // namespace brixel
