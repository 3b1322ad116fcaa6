#include "FrmCopy.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>
#include <array>

#include "AlphaChannel.h"
#include "BitmapPixels.h"
#include "ColourReduction.h"
#include "IconSet.h"
#include "ImageDocument.h"
#include "OkCancelButtons.h"
#include "PictureBox.h"
#include "PictureImport.h"
#include "Prompter.h"
#include "ReductionChecks.h"
#include "Resampling.h"
#include "SurfacePixels.h"
#include "TargetChoices.h"
#include "TrapErrors.h"

namespace brixel {
namespace {

// The preview keeps at least the room of this size, so that small sizes do not move the dialog.
constexpr int kLargestTarget = 48;
constexpr int kGap = 10;  // between a picture and its mask
// The source pictures scroll beyond this.
constexpr int kSourceViewWidth = 200;
constexpr int kSourceViewHeight = 330;

QLabel* Heading(const char* name, const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  QFont font = label->font();
  font.setBold(true);
  label->setFont(font);
  return label;
}

PictureBox* Picture(const char* name, int width, int height, QWidget* parent) {
  auto* box = new PictureBox(width, height, parent);
  box->setObjectName(name);
  return box;
}

void LetEventsRun() { QApplication::processEvents(QEventLoop::ExcludeUserInputEvents); }

}  // namespace

FrmCopy::FrmCopy(ImageDocument& document, std::int16_t imageIndex, QWidget* owner)
    : QDialog(owner), document_(document), image_(document.Image(imageIndex)) {
  setObjectName("FrmCopy");
  setWindowTitle("Copy Icon to a new size or color depth");
  setModal(true);

  // The image and its mask, 10 pixels apart, at their real size.
  const int width = std::max<int>(document.Width(imageIndex), 1);
  const int height = std::max<int>(document.Height(imageIndex) / 2, 1);
  source_ = new QWidget;
  pctIcon_ = Picture("PctIcon", width, height, source_);
  pctMask_ = Picture("PctMask", width, height, source_);
  pctMask_->move(0, height + kGap);
  source_->setFixedSize(width, 2 * height + kGap);
  document.DrawIcon(imageIndex, pctIcon_->Surface(), &pctMask_->Surface());
  // A large image scrolls instead of stretching the dialog.
  auto* sourceView = new QScrollArea(this);
  sourceView->setObjectName("SourceView");
  sourceView->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  sourceView->setBackgroundRole(QPalette::Mid);
  sourceView->setWidget(source_);
  sourceView->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  const int frame = 2 * sourceView->frameWidth();
  const bool tall = source_->height() > kSourceViewHeight;
  const bool wide = source_->width() > kSourceViewWidth;
  sourceView->setFixedSize(std::min(source_->width(), kSourceViewWidth) + frame + (tall ? bar : 0),
                           std::min(source_->height(), kSourceViewHeight) + frame + (wide ? bar : 0));

  // The preview keeps the room of the largest size, so that the dialog does not jump.
  preview_ = new QWidget;
  preview_->setFixedSize(kLargestTarget, 2 * kLargestTarget + kGap);
  pctNewIcon_ = Picture("PctNewIcon", kTargetSizes[0].value, kTargetSizes[0].value, preview_);
  pctNewMask_ = Picture("PctNewMask", kTargetSizes[0].value, kTargetSizes[0].value, preview_);
  auto* previewWell = new QFrame(this);
  previewWell->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  previewWell->setAutoFillBackground(true);
  previewWell->setBackgroundRole(QPalette::Mid);
  auto* wellLayout = new QVBoxLayout(previewWell);
  wellLayout->setContentsMargins(1, 1, 1, 1);
  wellLayout->addWidget(preview_);

  cboSize_ = new QComboBox(this);
  cboSize_->setObjectName("cboSize");
  cboColor_ = new QComboBox(this);
  cboColor_->setObjectName("CboColor");
  for (const TargetChoice& choice : kTargetDepths) cboColor_->addItem(choice.text);
  for (const TargetChoice& choice : kTargetSizes) cboSize_->addItem(choice.text);
  auto* sizeLabel = new QLabel("Size", this);
  sizeLabel->setObjectName("Label4");
  sizeLabel->setBuddy(cboSize_);
  auto* depthLabel = new QLabel("Color Depth", this);
  depthLabel->setObjectName("Label5");
  depthLabel->setBuddy(cboColor_);
  cboResample_ = new QComboBox(this);
  cboResample_->setObjectName("CboResample");
  cboResample_->addItems({"Bilinear", "Smooth"});
  cboResample_->setToolTip("Smooth averages every pixel a new pixel covers: sharper when shrinking by more than half");
  auto* resampleLabel = new QLabel("Resampling", this);
  resampleLabel->setObjectName("LblResample");
  resampleLabel->setBuddy(cboResample_);
  chkDither_ = DitherCheck(this);
  chkOwnPalette_ = OwnPaletteCheck(this);
  auto* settings = new QGridLayout;
  settings->addWidget(sizeLabel, 0, 0);
  settings->addWidget(cboSize_, 0, 1);
  settings->addWidget(depthLabel, 1, 0);
  settings->addWidget(cboColor_, 1, 1);
  settings->addWidget(resampleLabel, 2, 0);
  settings->addWidget(cboResample_, 2, 1);
  settings->addWidget(chkDither_, 3, 1);
  settings->addWidget(chkOwnPalette_, 4, 1);

  // Every ticked size at once, the image's own size left out of the ones ticked first.
  several_ = new QGroupBox("Several sizes", this);
  several_->setObjectName("FraSizes");
  several_->setCheckable(true);
  several_->setChecked(false);
  auto* sizeBoxes = new QGridLayout(several_);
  for (std::size_t i = 0; i < kTargetSizes.size(); ++i) {
    auto* box = new QCheckBox(kTargetSizes[i].text, several_);
    box->setObjectName(QString("ChkSize%1").arg(kTargetSizes[i].value));
    const int side = kTargetSizes[i].value;
    const bool windows = std::any_of(std::begin(kWindowsIconSet), std::end(kWindowsIconSet),
                                      [side](const IconSetEntry& entry) { return entry.Size == side; });
    box->setChecked(windows && !(side == width && side == height));
    sizeBoxes->addWidget(box, static_cast<int>(i / 2), static_cast<int>(i % 2));
    sizeChecks_.push_back(box);
  }
  settings->addWidget(several_, 5, 0, 1, 2);

  auto* columns = new QHBoxLayout;
  const auto addColumn = [this, columns](const char* name, const char* heading, auto add) {
    if (columns->count() > 0) columns->addSpacing(18);
    auto* column = new QVBoxLayout;
    column->addWidget(Heading(name, heading, this));
    add(column);
    column->addStretch(1);
    columns->addLayout(column);
  };
  addColumn("Label1", "Copy From", [&](QVBoxLayout* l) { l->addWidget(sourceView); });
  addColumn("Label2", "New Settings", [&](QVBoxLayout* l) { l->addLayout(settings); });
  addColumn("Label3", "Preview", [&](QVBoxLayout* l) { l->addWidget(previewWell); });

  QDialogButtonBox* buttons = OkCancelButtons(this, &FrmCopy::Confirm);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(columns);
  layout->addSpacing(8);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(cboSize_, &QComboBox::currentIndexChanged, this, &FrmCopy::SizeChanged);
  connect(cboColor_, &QComboBox::currentIndexChanged, this, &FrmCopy::RenderPreview);
  connect(cboResample_, &QComboBox::currentIndexChanged, this, &FrmCopy::RenderPreview);
  connect(chkDither_, &QCheckBox::toggled, this, &FrmCopy::RenderPreview);
  connect(chkOwnPalette_, &QCheckBox::toggled, this, &FrmCopy::RenderPreview);
  SizeChanged();
}

int FrmCopy::TargetSize() const {
  return kTargetSizes[static_cast<std::size_t>(std::max(cboSize_->currentIndex(), 0))].value;
}

int FrmCopy::TargetDepth() const {
  return kTargetDepths[static_cast<std::size_t>(std::max(cboColor_->currentIndex(), 0))].value;
}

ImportOptions FrmCopy::Options() const {
  ImportOptions options;
  options.Size = TargetSize();
  options.BitDepth = TargetDepth();
  options.Smooth = cboResample_->currentIndex() == 1;
  options.Reduction = ChosenReduction(*chkDither_, *chkOwnPalette_, options.BitDepth);
  return options;
}

bool FrmCopy::DrawsOnPictureBoxes() const {
  const ImportOptions options = Options();
  return !image_.CarriesAlpha() && options.BitDepth != 32 && !options.Smooth;
}

void FrmCopy::SizeChanged() {
  const int size = TargetSize();
  pctNewIcon_->Surface().Resize(size, size);
  pctNewMask_->Surface().Resize(size, size);
  pctNewMask_->move(0, size + kGap);
  const int room = std::max(size, kLargestTarget);
  preview_->setFixedSize(room, 2 * room + kGap);
  RenderPreview();
}

void FrmCopy::RenderPreview() {
  chkOwnPalette_->setEnabled(TargetDepth() == 8);
  if (!DrawsOnPictureBoxes()) {
    // Alpha, 32 bits and area averaging need the image itself, not its drawing.
    Trap("PrjBrixel.FrmCopy.RenderPreview", [&] {
      made_ = MakeCopyPreview(image_, Options());
      pctNewIcon_->Surface().SetPicture(made_.Picture);
      pctNewMask_->Surface().SetPicture(made_.Mask);
    });
    return;
  }
  made_ = ImportPreview();
  QtPictureSurface& source = pctIcon_->Surface();
  QtPictureSurface& mask = pctMask_->Surface();
  QtPictureSurface& preview = pctNewIcon_->Surface();
  QtPictureSurface& previewMask = pctNewMask_->Surface();
  const int width = source.PixelWidth();
  const int height = source.PixelHeight();
  const int size = preview.PixelWidth();
  const ScaledExtent scaled = ScaledSize(width, height, size);
  preview.SetPicture(Bitmap());
  LetEventsRun();
  try {
    if (size == width && width == height) {
      // Same size: a plain copy, no interpolation.
      preview.SetPicture(source.Image());
      preview.PaintPicture(source.Image(), 0, 0, static_cast<float>(size), static_cast<float>(size));
      previewMask.SetPicture(mask.Image());
      previewMask.PaintPicture(mask.Image(), 0, 0, static_cast<float>(size), static_cast<float>(size));
    } else {
      // A non-square source keeps its aspect whatever the target size; the rest turns white.
      const auto w = static_cast<float>(width);
      const auto h = static_cast<float>(height);
      const auto sw = static_cast<float>(scaled.Width);
      const auto sh = static_cast<float>(scaled.Height);
      ResamplePicture(source, preview, 0, 0, w, h, 0, 0, sw, sh);
      ResamplePicture(mask, previewMask, 0, 0, w, h, 0, 0, sw, sh);
    }
    ReducePreviewColours();
    ChangeColorDepth(previewMask, 1);
  } catch (const BitmapPixelError& e) {
    ReportError(e, e.Source());
  } catch (const BackEndError& e) {
    ReportError(e, "PrjBrixel.FrmCopy.RenderPreview");
  }
}

void FrmCopy::ReducePreviewColours() {
  const ReductionChoice choice = Options().Reduction;
  QtPictureSurface& preview = pctNewIcon_->Surface();
  if (choice == ReductionChoice{}) {
    ChangeColorDepth(preview, TargetDepth());
    return;
  }
  Bitmap picture = preview.Image();
  ReduceColours(picture, TargetDepth(), choice);
  preview.SetPicture(picture);
  preview.Refresh();
}

void FrmCopy::AddTargetImage() {
  const auto size = static_cast<std::int16_t>(TargetSize());
  document_.AddImage(size, size, static_cast<std::int16_t>(TargetDepth()), -1);
}

std::int16_t FrmCopy::TakePreviewPalette(bool set) {
  const std::vector<Colour> colours = DistinctColoursByColumn(pctNewIcon_->Surface().Image());
  const auto count = static_cast<std::int16_t>(std::min<std::size_t>(colours.size(), INT16_MAX));
  if (!set) return count;
  const auto last = static_cast<std::int16_t>(document_.IconCount() - 1);
  const int depth = document_.BitDepth(last);
  const int limit = depth == 1 ? 2 : depth == 4 ? 16 : 256;
  for (int k = 0; k < std::min<int>(count, limit); ++k) {
    document_.PaletteColor(last, k, colours[static_cast<std::size_t>(k)]);
  }
  return count;
}

void FrmCopy::StoreNewImage() {
  const auto last = static_cast<std::int16_t>(document_.IconCount() - 1);
  document_.SaveIconFromPic(last, pctNewIcon_->Surface(), &pctNewMask_->Surface());
  // Its transparent pixels are black, which the preview's colours may lack.
  EnsureBlackForTransparent(document_.Image(last));
}

void FrmCopy::StorePreview() {
  if (!DrawsOnPictureBoxes()) {
    AppendImportedImage(document_, made_, TargetDepth());
    return;
  }
  AddTargetImage();
  TakePreviewPalette(true);
  StoreNewImage();
}

void FrmCopy::Confirm() {
  std::vector<int> indexes;
  if (several_->isChecked()) {
    for (std::size_t i = 0; i < sizeChecks_.size(); ++i) {
      if (sizeChecks_[i]->isChecked()) indexes.push_back(static_cast<int>(i));
    }
    if (indexes.empty()) {
      ShowMessage("Several sizes", "Please tick at least one size.");
      return;
    }
  } else {
    indexes.push_back(cboSize_->currentIndex());
  }
  const int before = document_.IconCount();
  Trap("PrjBrixel.FrmCopy.CmdOK_Click", [&] {
    for (const int index : indexes) {
      // Each size is previewed as the list shows it, then stored.
      if (index != cboSize_->currentIndex()) cboSize_->setCurrentIndex(index);
      StorePreview();
    }
  });
  appended_ = document_.IconCount() > before;
  accept();
}

}  // namespace brixel
