#include "FrmImport.h"

#include <QApplication>
#include <QComboBox>
#include <QFormLayout>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHelpEvent>
#include <QPushButton>
#include <QToolTip>
#include <array>
#include <cmath>
#include <optional>

#include "ImageDocument.h"
#include "PathText.h"
#include "PictureBox.h"
#include "PictureDecoderProcess.h"
#include "Prompter.h"
#include "ReductionChecks.h"
#include "StoredToolBars.h"
#include "TargetChoices.h"
#include "TrapErrors.h"
#include "cCommonDialog.h"
#include "kzrToolBar.h"

namespace brixel {
namespace {

// The previews keep at least the room of this size, so that small sizes do not move the dialog.
constexpr int kLargestPreview = 64;

// The choices of the last dialog, for the next one while the program runs.
struct Choices {
  int size = 0;
  int depth = 0;
  int clip = 0;
  bool proportions = false;
  bool dither = false;
  bool ownPalette = false;
};
std::optional<Choices>& LastChoices() {
  static std::optional<Choices> last;
  return last;
}

// What the toolbar's buttons do, for their tool tips and the buttons with words.
QString ButtonWords(const QString& key) {
  if (key == "Open") return "Open a picture";
  if (key == "Import") return "Import the preview as a new image";
  if (key == "Exit") return "Cancel: close without importing";
  return key;
}
constexpr int kScrollStep = 10;

QLabel* Caption(const char* name, const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  return label;
}

QComboBox* List(const char* name, QWidget* parent) {
  auto* list = new QComboBox(parent);
  list->setObjectName(name);
  return list;
}

// A sunken well of the preview's room, showing a picture box from its top-left.
QFrame* Well(const char* name, PictureBox*& picture, QWidget*& room, QWidget* parent) {
  auto* well = new QFrame(parent);
  well->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  well->setAutoFillBackground(true);
  well->setBackgroundRole(QPalette::Mid);
  room = new QWidget(well);
  room->setFixedSize(kLargestPreview, kLargestPreview);
  picture = new PictureBox(kTargetSizes[0].value, kTargetSizes[0].value, room);
  picture->setObjectName(name);
  auto* layout = new QVBoxLayout(well);
  layout->setContentsMargins(1, 1, 1, 1);
  layout->addWidget(room);
  return well;
}

// Shows the wait cursor while it lives.
struct WaitCursor {
  WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

}  // namespace

const char* const FrmImport::kFilter =
    "Supported Graphics|*.bmp;*.jpg;*.jpeg;*.gif;*.png;*.wmf;*.emf;*.ico;*.cur|"
    "Bitmaps (bmp)|*.bmp|JPegs (jpg)|*.jpg;*.jpeg|Gif Files (gif)|*.gif|PNG Files (png)|*.png|"
    "Metafiles (wmf)|*.wmf;*.emf|Icons (ico)|*.ico;*.cur";

FrmImport::FrmImport(ImageDocument& document, std::function<void()> showCount, QWidget* owner)
    : QDialog(owner), document_(document), showCount_(std::move(showCount)) {
  setObjectName("FrmImport");
  setWindowTitle("Please select the image to import");
  setModal(true);

  tbImport_ = new kzrToolBar(this);
  tbImport_->setObjectName("TBImport");
  LoadFormToolBars(*this);
  tbImport_->setFixedSize(tbImport_->sizeHint());
  tbImport_->setAccessibleName("Open, Import, Exit");
  tbImport_->installEventFilter(this);
  lblInfo_ = Caption("lblInfo", "", this);
  lblInfo_->setMinimumWidth(80);

  // The viewport: the picture at 1:1, moved by the scroll bars.
  auto* border = new QFrame(this);
  border->setObjectName("FrameBorder");
  border->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  pctFrame_ = new QWidget(border);
  pctFrame_->setObjectName("PctFrame");
  pctFrame_->setFixedSize(kFrameWidth, kFrameHeight);
  pctFrame_->setAutoFillBackground(true);
  pctFrame_->setBackgroundRole(QPalette::Dark);
  auto* borderLayout = new QVBoxLayout(border);
  borderLayout->setContentsMargins(1, 1, 1, 1);
  borderLayout->addWidget(pctFrame_);
  pctImport_ = new PictureBox(1, 1, pctFrame_);
  pctImport_->setObjectName("PctImport");
  pctImport_->hide();
  hScroll_ = new QScrollBar(Qt::Horizontal, this);
  hScroll_->setObjectName("HScroll1");
  vScroll_ = new QScrollBar(Qt::Vertical, this);
  vScroll_->setObjectName("VScroll1");
  connect(hScroll_, &QScrollBar::valueChanged, this,
          [this](int value) { Scrolled(hScroll_, lastH_, value); });
  connect(vScroll_, &QScrollBar::valueChanged, this,
          [this](int value) { Scrolled(vScroll_, lastV_, value); });

  auto* viewport = new QGridLayout;
  viewport->setSpacing(0);
  viewport->addWidget(border, 0, 0);
  viewport->addWidget(vScroll_, 0, 1);
  viewport->addWidget(hScroll_, 1, 0);

  // The choices and the preview.
  auto* options = new QGroupBox("Import Options - Please select", this);
  options->setObjectName("Frame1");
  cboSize_ = List("CboSize", options);
  cboColor_ = List("CboColor", options);
  cboClip_ = List("CboClip", options);
  for (const TargetChoice& choice : kTargetDepths) cboColor_->addItem(choice.text);
  for (const TargetChoice& choice : kTargetSizes) cboSize_->addItem(choice.text);
  cboClip_->addItems({"Resize Image", "Clip Image"});
  chkProportions_ = new QCheckBox("Keep proportions", options);
  chkProportions_->setObjectName("ChkProportions");
  chkProportions_->setToolTip("Fit the picture inside the square, centred; the rest stays transparent");
  chkDither_ = DitherCheck(options);
  chkOwnPalette_ = OwnPaletteCheck(options);
  auto* form = new QFormLayout;
  form->addRow(Caption("Label2", "Size", options), cboSize_);
  form->addRow(Caption("Label3", "Color Depth", options), cboColor_);
  form->addRow(Caption("Label4", "Clipping Options", options), cboClip_);
  form->addRow(QString(), chkProportions_);
  form->addRow(QString(), chkDither_);
  form->addRow(QString(), chkOwnPalette_);

  // The previews keep the room of the largest size, so that the dialog does not jump.
  auto* previews = new QGridLayout;
  previews->setHorizontalSpacing(16);
  previews->addWidget(Caption("Label5", "Preview", options), 0, 0);
  previews->addWidget(Caption("Label6", "Mask", options), 0, 1);
  previews->addWidget(Well("PctIcon", pctIcon_, iconRoom_, options), 1, 0);
  previews->addWidget(Well("PctMask", pctMask_, maskRoom_, options), 1, 1);
  previews->setColumnStretch(2, 1);

  auto* optionsLayout = new QVBoxLayout(options);
  optionsLayout->addLayout(form);
  optionsLayout->addSpacing(12);
  optionsLayout->addLayout(previews);
  optionsLayout->addStretch(1);

  // The toolbar's commands again as buttons with words.
  auto* buttons = new QDialogButtonBox(this);
  const auto addButton = [&](const char* name, const QString& text, const QString& key,
                             QDialogButtonBox::ButtonRole role) {
    QPushButton* button = buttons->addButton(text, role);
    button->setObjectName(name);
    button->setToolTip(ButtonWords(key));
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, [this, key] { ToolBarClick(key); });
  };
  addButton("CmdOpen", "Open...", "Open", QDialogButtonBox::ActionRole);
  addButton("CmdImport", "Import", "Import", QDialogButtonBox::AcceptRole);
  addButton("CmdExit", "Cancel", "Exit", QDialogButtonBox::RejectRole);

  auto* top = new QHBoxLayout;
  top->addWidget(tbImport_);
  top->addSpacing(8);
  top->addWidget(lblInfo_, 1);

  auto* body = new QHBoxLayout;
  body->setSpacing(12);
  body->addLayout(viewport);
  // Taller previews leave the viewport at the top.
  body->setAlignment(viewport, Qt::AlignTop);
  body->addWidget(options, 0);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addLayout(body);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(tbImport_, &kzrToolBar::Click, this,
          [this](qint16, qint16, const QString& key) { ToolBarClick(key); });
  connect(tbImport_, &kzrToolBar::MouseEnter, this,
          [this](qint16 index) { lblInfo_->setText(tbImport_->ButtonKey(index)); });
  connect(cboSize_, &QComboBox::currentIndexChanged, this, &FrmImport::SizeChanged);
  connect(cboColor_, &QComboBox::currentIndexChanged, this, &FrmImport::RenderPreview);
  connect(cboClip_, &QComboBox::currentIndexChanged, this, &FrmImport::RenderPreview);
  for (QCheckBox* box : {chkProportions_, chkDither_, chkOwnPalette_}) {
    connect(box, &QCheckBox::toggled, this, &FrmImport::RenderPreview);
  }
  if (const std::optional<Choices>& last = LastChoices()) {
    const QSignalBlocker blockSize(cboSize_);
    cboSize_->setCurrentIndex(last->size);
    cboColor_->setCurrentIndex(last->depth);
    cboClip_->setCurrentIndex(last->clip);
    chkProportions_->setChecked(last->proportions);
    chkDither_->setChecked(last->dither);
    chkOwnPalette_->setChecked(last->ownPalette);
  }
  ResetViewport();
  SizeChanged();
}

void FrmImport::done(int result) {
  LastChoices() = Choices{cboSize_->currentIndex(), cboColor_->currentIndex(), cboClip_->currentIndex(),
                          chkProportions_->isChecked(), chkDither_->isChecked(), chkOwnPalette_->isChecked()};
  QDialog::done(result);
}

void FrmImport::ForgetChoices() { LastChoices().reset(); }

bool FrmImport::eventFilter(QObject* watched, QEvent* event) {
  if (watched == tbImport_ && event->type() == QEvent::ToolTip) {
    // The toolbar's pictures say what they do when the pointer rests on them.
    auto* help = static_cast<QHelpEvent*>(event);
    const int index = tbImport_->HitTest(help->pos());
    if (index >= 0) QToolTip::showText(help->globalPos(), ButtonWords(tbImport_->ButtonKey(index)), tbImport_);
    else QToolTip::hideText();
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

QString FrmImport::ToolTipOf(const QString& key) { return ButtonWords(key); }

ImportOptions FrmImport::Options() const {
  ImportOptions options;
  options.Size = kTargetSizes[static_cast<std::size_t>(std::max(cboSize_->currentIndex(), 0))].value;
  options.BitDepth = kTargetDepths[static_cast<std::size_t>(std::max(cboColor_->currentIndex(), 0))].value;
  options.Clip = cboClip_->currentIndex() == 1;
  options.KeepProportions = chkProportions_->isChecked();
  options.Reduction = ChosenReduction(*chkDither_, *chkOwnPalette_, options.BitDepth);
  return options;
}

void FrmImport::ToolBarClick(const QString& key) {
  if (key == "Open") {
    OpenCommand();
  } else if (key == "Import") {
    ImportCommand();
  } else if (key == "Exit") {
    reject();
    return;
  }
  tbImport_->Refresh();
}

void FrmImport::OpenCommand() {
  const QString fileName = cCommonDialog().OpenExistingFile(kFilter, this);
  if (fileName.isEmpty()) return;
  QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  WaitCursor wait;
  LoadImport(fileName);
}

void FrmImport::LoadImport(const QString& fileName) {
  LoadedPicture loaded;
  if (!Trap("PrjBrixel.FrmImport.LoadImport", [&] { loaded = LoadPictureFile(LocalPath(fileName)); })) {
    return;
  }
  QtPictureSurface& shown = pctImport_->Surface();
  const Bitmap picture = PictureOverBackground(loaded, shown.BackColor());
  if (!Trap("PrjBrixel.FrmImport.LoadImport", [&] {
        shown.Resize(picture.Width, picture.Height);
        shown.SetPicture(picture);
      })) {
    return;
  }
  // What the picture would have taken from elsewhere is left out; the user is told what.
  std::string leftOut;
  for (const std::string& warning : loaded.Warnings) leftOut += (leftOut.empty() ? "" : "\n") + warning;
  picture_ = std::move(loaded);
  pctImport_->show();
  ResetViewport();
  RenderPreview();
  if (!leftOut.empty()) ShowMessage("Import Image", leftOut, Prompter::Icon::Information);
}

void FrmImport::ResetViewport() {
  const QSignalBlocker blockH(hScroll_);
  const QSignalBlocker blockV(vScroll_);
  hScroll_->setValue(0);
  vScroll_->setValue(0);
  lastH_ = 0;
  lastV_ = 0;
  pctImport_->move(0, 0);
  const int width = HasPicture() ? picture_.Width() : 0;
  const int height = HasPicture() ? picture_.Height() : 0;
  const auto fit = [](QScrollBar* bar, int picture, int frame) {
    if (picture < frame) {
      bar->setRange(0, 0);
      bar->setEnabled(false);
      return;
    }
    bar->setRange(0, picture - frame);
    bar->setSingleStep(kScrollStep);
    bar->setPageStep(static_cast<int>(std::nearbyint(frame / 10.0)));
    bar->setEnabled(true);
  };
  fit(vScroll_, height, kFrameHeight);
  fit(hScroll_, width, kFrameWidth);
}

void FrmImport::Scrolled(QScrollBar* bar, int& previous, int value) {
  // The bars only move the view; what is imported does not depend on them.
  QPoint position = pctImport_->pos();
  if (bar == hScroll_) position.rx() += previous - value;
  else position.ry() += previous - value;
  pctImport_->move(position);
  previous = value;
}

void FrmImport::SizeChanged() {
  const int size = Options().Size;
  pctIcon_->Surface().Resize(size, size);
  pctMask_->Surface().Resize(size, size);
  const int room = std::max(size, kLargestPreview);
  iconRoom_->setFixedSize(room, room);
  maskRoom_->setFixedSize(room, room);
  RenderPreview();
}

void FrmImport::RenderPreview() {
  previewed_ = Options();
  chkProportions_->setEnabled(!previewed_.Clip);
  chkOwnPalette_->setEnabled(previewed_.BitDepth == 8);
  if (!HasPicture()) {
    // Nothing loaded: a blank preview.
    pctIcon_->Surface().SetPicture(Bitmap());
    pctMask_->Surface().SetPicture(Bitmap());
    preview_ = ImportPreview();
    return;
  }
  Trap("PrjBrixel.FrmImport.RenderPreview", [&] {
    preview_ = MakeImportPreview(picture_, previewed_);
    pctIcon_->Surface().SetPicture(preview_.Picture);
    pctMask_->Surface().SetPicture(preview_.Mask);
  });
}

void FrmImport::ImportCommand() {
  if (!HasPicture() || preview_.Picture.Empty()) {
    ShowMessage("Import Image", "Please open a picture to import first.",
                Prompter::Icon::Exclamation);
    return;
  }
  if (!Trap("PrjBrixel.FrmImport.ImportCommand",
            [&] { AppendImportedImage(document_, preview_, previewed_.BitDepth); })) {
    return;
  }
  appended_ = true;
  // A document that still holds only New's untouched image gets the imported one instead.
  if (document_.NewIcon() && !document_.Changed()) {
    document_.DeleteImage(0);
    if (showCount_) showCount_();
  }
  accept();
}

}  // namespace brixel
