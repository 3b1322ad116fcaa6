#include "FrmMain.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "ActualSizePanel.h"
#include "AlphaChannel.h"
#include "Clip.h"
#include "ColourPanel.h"
#include "CurrentDocument.h"
#include "EditCommands.h"
#include "EditGrid.h"
#include "ElidedLabel.h"
#include "FrmAbout.h"
#include "FrmOptions.h"
#include "FrmPaintColour.h"
#include "FrmText.h"
#include "GridEditor.h"
#include "GridView.h"
#include "HelpTopics.h"
#include "ImageCommands.h"
#include "ImageStrip.h"
#include "MouseColours.h"
#include "MouseFunctionsPanel.h"
#include "NewFromPicture.h"
#include "OpenForEditing.h"
#include "OpenFromProgram.h"
#include "FrmProgramGroups.h"
#include "PalettePanel.h"
#include "PathText.h"
#include "PictureBox.h"
#include "ProgramLogo.h"
#include "Prompter.h"
#include "RecoveryFolder.h"
#include "RecoveryKeeper.h"
#include "StoredToolBars.h"
#include "ToolChoice.h"
#include "kzrToolBar.h"

namespace brixel {
namespace {

constexpr int kStripWidth = 200;
constexpr int kSavedMessageMs = 8000;
// Edits mark documents changed from many places; the title follows them at this pace.
constexpr int kTitleCheckMs = 250;

void LetEventsRun() { QApplication::processEvents(QEventLoop::ExcludeUserInputEvents); }

kzrToolBar* MakeToolBar(const char* name, QWidget* parent) {
  auto* toolbar = new kzrToolBar(parent);
  toolbar->setObjectName(name);
  return toolbar;
}

QFrame* MakeLine(QFrame::Shape shape, QWidget* parent) {
  auto* line = new QFrame(parent);
  line->setFrameShape(shape);
  line->setFrameShadow(QFrame::Sunken);
  return line;
}

}  // namespace

FrmMain::FrmMain(QWidget* parent) : QMainWindow(parent) {
  setObjectName("FrmMain");
  setWindowTitle(kApplicationTitle);
  setWindowIcon(QIcon(ProgramLogo(64)));

  menus_ = BuildMainMenus(*menuBar());
  BuildStatusBar();
  setCentralWidget(BuildCentralArea());
  LoadFormToolBars(*this);
  for (kzrToolBar* toolbar : {tbFile_, tbClipboard_, tbDrawing_, tbTransForm_}) {
    toolbar->setFixedSize(toolbar->sizeHint());
  }
  helpTopics_ = new HelpTopics(*this);
  AssignHelpTopics();
  BuildEditing();
  images_ = std::make_unique<ImageCommands>(*this);
  ConnectCommands();

  menus_.MnuIcon->setEnabled(false);
  menus_.MnuFileClose->setEnabled(false);
  menus_.MnuToolsImport->setEnabled(false);

  // A program or library opened asks which of its groups to open, over this window while it lives.
  InstallGroupChooser([window = QPointer<QWidget>(this)](const std::string& path, const ProgramIcons& program) {
    return FrmProgramGroups::Choose(path, program, window.data());
  });

  LoadSettings(settings_);
  KeepAlpha(settings_.KeepAlpha);
  menus_.MnuToolGridLines->setChecked(settings_.Grid);
  tools_->ShowSettings();
  ShowCount();
  auto* titleCheck = new QTimer(this);
  connect(titleCheck, &QTimer::timeout, this, &FrmMain::UpdateTitle);
  titleCheck->start(kTitleCheckMs);
  // Room for every panel and the whole 480-pixel grid where the screen has it; Qt alone would
  // open the window at two thirds of the screen at most.
  if (const QScreen* shown = screen()) resize(sizeHint().boundedTo(shown->availableGeometry().size()));
}

FrmMain::~FrmMain() = default;

// --- Layout ---

void FrmMain::BuildStatusBar() {
  lblInfo_ = new QLabel("Info", this);
  lblInfo_->setObjectName("lblInfo");
  lblInfo_->setMinimumWidth(120);
  auto* position = new QLabel("Position", this);
  position->setObjectName("Label1");
  lblLocation_ = new QLabel("0-0", this);
  lblLocation_->setObjectName("LblLocation");
  lblLocation_->setMinimumWidth(60);
  statusBar()->addWidget(lblInfo_, 1);
  statusBar()->addPermanentWidget(position);
  statusBar()->addPermanentWidget(lblLocation_);
}

QWidget* FrmMain::BuildCentralArea() {
  auto* central = new QWidget(this);
  central->setObjectName("MainArea");

  tbFile_ = MakeToolBar("TBFile", central);
  tbClipboard_ = MakeToolBar("TBClipboard", central);
  tbDrawing_ = MakeToolBar("TBDrawing", central);
  tbTransForm_ = MakeToolBar("TBTransForm", central);

  auto* commandRow = new QHBoxLayout;
  commandRow->setSpacing(8);
  commandRow->addWidget(tbFile_);
  commandRow->addWidget(MakeLine(QFrame::VLine, central));
  commandRow->addWidget(tbClipboard_);
  commandRow->addStretch(1);

  auto* toolColumn = new QVBoxLayout;
  toolColumn->setSpacing(8);
  toolColumn->addWidget(tbDrawing_);
  toolColumn->addWidget(tbTransForm_);
  toolColumn->addStretch(1);

  grid_ = std::make_unique<EditGrid>(*central, *lblLocation_, settings_);
  auto* gridFrame = new QFrame(central);
  gridFrame->setObjectName("GridFrame");
  gridFrame->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  auto* gridLayout = new QVBoxLayout(gridFrame);
  gridLayout->setContentsMargins(1, 1, 1, 1);
  grid_->Scroller().setParent(gridFrame);
  gridLayout->addWidget(&grid_->Scroller());


  palette_ = new PalettePanel(central);
  mouseFunctions_ = new MouseFunctionsPanel(central);
  auto* panelColumn = new QVBoxLayout;
  panelColumn->setSpacing(10);
  panelColumn->addWidget(palette_);
  panelColumn->addWidget(mouseFunctions_);
  panelColumn->addStretch(1);

  auto* hidden = new QWidget(central);
  hidden->hide();
  command1_ = new QPushButton(kHandOverCaption, hidden);
  command1_->setObjectName("Command1");
  squareFlood_ = ShippedPicture("PctSquare");
  diagonalFlood_ = ShippedPicture("PctDiag");
  auto* pctSquare = new QLabel(hidden);
  pctSquare->setObjectName("PctSquare");
  pctSquare->setPixmap(squareFlood_.pixmap);
  auto* pctDiag = new QLabel(hidden);
  pctDiag->setObjectName("PctDiag");
  pctDiag->setPixmap(diagonalFlood_.pixmap);

  auto* body = new QHBoxLayout;
  body->setSpacing(12);
  body->addWidget(BuildDocumentColumn(central));
  body->addLayout(toolColumn);
  body->addWidget(gridFrame, 1);
  body->addLayout(panelColumn);

  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(10, 6, 10, 8);
  layout->setSpacing(8);
  layout->addLayout(commandRow);
  layout->addWidget(MakeLine(QFrame::HLine, central));
  layout->addLayout(body, 1);
  return central;
}

QWidget* FrmMain::BuildDocumentColumn(QWidget* parent) {
  auto* column = new QWidget(parent);
  column->setFixedWidth(kStripWidth);

  auto* frame2 = new QGroupBox("Icon List", column);
  frame2->setObjectName("Frame2");
  cmdPrev_ = new QPushButton("<<", frame2);
  cmdPrev_->setObjectName("CmdPrev");
  cmdNext_ = new QPushButton(">>", frame2);
  cmdNext_->setObjectName("CmdNext");
  for (QPushButton* button : {cmdPrev_, cmdNext_}) button->setFixedWidth(40);
  lblCount_ = new QLabel("0 of 0", frame2);
  lblCount_->setObjectName("LblCount");
  lblCount_->setAlignment(Qt::AlignCenter);
  lblFileName_ = new ElidedLabel(frame2);
  lblFileName_->setObjectName("LblFileName");
  lblFileName_->setAlignment(Qt::AlignCenter);
  QFont nameFont = lblFileName_->font();
  nameFont.setBold(true);
  lblFileName_->setFont(nameFont);

  auto* counterRow = new QHBoxLayout;
  counterRow->addWidget(cmdPrev_);
  counterRow->addWidget(lblCount_, 1);
  counterRow->addWidget(cmdNext_);
  auto* frameLayout = new QVBoxLayout(frame2);
  frameLayout->addLayout(counterRow);
  frameLayout->addWidget(lblFileName_);

  auto* heading = new QLabel("Current icon (Click the image to edit)", column);
  heading->setObjectName("Label5");
  heading->setWordWrap(true);
  strip_ = new ImageStrip(column);

  auto* layout = new QVBoxLayout(column);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(frame2);
  layout->addSpacing(4);
  layout->addWidget(heading);
  layout->addWidget(strip_, 3);
  layout->addWidget(new ActualSizePanel(grid_->View(), column), 2);
  return column;
}

void FrmMain::AssignHelpTopics() {
  helpTopics_->Assign(*tbClipboard_, 1100);
  helpTopics_->Assign(*palette_, 1100);
  helpTopics_->Assign(*tbDrawing_, 1200);
  helpTopics_->Assign(*tbFile_, 1300);
  helpTopics_->Assign(*findChild<QWidget*>("PctScroll"), 1400);
  helpTopics_->Assign(*findChild<QWidget*>("Frame2"), 1500);
  helpTopics_->Assign(*menus_.MnuIcon, 1700);
  helpTopics_->Assign(*mouseFunctions_, 1800);
  helpTopics_->Assign(palette_->Swatches(), 1900);
  helpTopics_->Assign(*tbTransForm_, 2000);
}

int FrmMain::HelpContextID() const { return helpTopics_->Current(); }

// --- Editing ---

void FrmMain::BuildEditing() {
  const auto select = [this](std::int16_t index, bool resync) { SelectImage(index, resync); };
  tools_ = std::make_unique<ToolChoice>(settings_, *tbDrawing_, *mouseFunctions_, squareFlood_,
                                        diagonalFlood_);
  tools_->OnTextTool([this] { return OpenTextDialog(); });
  colours_ = std::make_unique<MouseColours>(*mouseFunctions_);
  // Owned by the window as its child widget.
  new ColourPanel(
      *palette_, *colours_, [] { return static_cast<ImageDocument*>(CurrentIconDocument()); },
      [this] { return grid_->CurrentImage(); },
      [this](std::int16_t image) {
        if (cIco* document = CurrentIconDocument()) document->Changed(true);
        SelectImage(image, true);  // which redraws the image's strip picture too
      },
      this);
  // A double click on a button's colour swatch opens its colour chooser.
  for (const int code : {1, 2, 4}) {
    connect(mouseFunctions_->Swatch(code), &PictureBox::DblClick, this, [this, code] {
      ChooseButtonColour(*colours_, code, CurrentIconDocument(), grid_->CurrentImage(), this);
    });
  }
  clip_ = std::make_unique<Clip>(*centralWidget());
  editor_ = std::make_unique<GridEditor>(*grid_, *tools_, *colours_, *clip_, text_, settings_,
                                         select);
  edits_ = std::make_unique<EditCommands>(*grid_, *editor_, *clip_, select,
                                          [this](std::int16_t image) {
                                            if (const cIco* document = CurrentIconDocument()) {
                                              strip_->RedrawImage(*document, image);
                                            }
                                          });

  std::unique_ptr<RecoveryFolder> folder;
  try {
    folder = std::make_unique<RecoveryFolder>(RecoveryHome());
  } catch (const BackEndError& failure) {
    ShowMessage("Recovery", "Unsaved work cannot be kept safe while Brixel runs: " +
                                RecoveryHome().string() + ": " + failure.Description() + ".",
                Prompter::Icon::Exclamation);
  }
  recovery_ = std::make_unique<RecoveryKeeper>(
      std::move(folder), [this] { return editor_->MouseIsDown(); },
      [this](const cIco& document) {
        return IconDocuments.HasCurrent() && &IconDocuments.CurrentDocument() == &document
                   ? std::max<int>(grid_->CurrentImage(), 0)
                   : 0;
      });

  GridView& view = grid_->View();
  view.keyHandler = [this](int key) { return editor_->Key(key); };
  connect(&view, &PointerBox::MouseDown, this,
          [this](int button, int, float x, float y) { editor_->Press(button, x, y); });
  connect(&view, &PointerBox::MouseMove, this,
          [this](int button, int, float x, float y) { editor_->Drag(button, x, y); });
  connect(&view, &PointerBox::MouseUp, this,
          [this](int button, int, float x, float y) { editor_->Release(button, x, y); });
}

bool FrmMain::OpenTextDialog() {
  FrmText dialog(text_, this);
  return dialog.exec() == QDialog::Accepted;
}

// --- Commands ---

void FrmMain::ConnectCommands() {
  connect(menus_.MnuFileNew, &QAction::triggered, this, [this] { files_.New(); });
  connect(menus_.MnuFileNewFromPicture, &QAction::triggered, this, [this] { NewIconFromPicture(*this); });
  connect(menus_.MnuFileOpen, &QAction::triggered, this, [this] { files_.OpenIconFile(); });
  connect(menus_.MnuFileSave, &QAction::triggered, this, [this] { files_.SaveCurrent(false); });
  connect(menus_.MnuFileSaveAs, &QAction::triggered, this, [this] { files_.SaveCurrent(true); });
  connect(menus_.MnuFileClose, &QAction::triggered, this, [this] { files_.Close(); });
  connect(menus_.MnuFileExit, &QAction::triggered, this, &QWidget::close);
  connect(menus_.MnuIconAdd, &QAction::triggered, this, [this] { images_->AddImage(); });
  connect(menus_.MnuIconDelete, &QAction::triggered, this, [this] { images_->DeleteImage(); });
  connect(menus_.MnuIconCopy, &QAction::triggered, this, [this] { images_->CopyImage(); });
  connect(menus_.MnuIconAnimation, &QAction::triggered, this, [this] { images_->EditAnimation(); });
  connect(menus_.MnuToolsImport, &QAction::triggered, this, [this] { images_->ImportImage(); });
  connect(menus_.MnuIconExport, &QAction::triggered, this, [this] { images_->ExportImage(); });
  connect(menus_.MnuHelpHelp, &QAction::triggered, this, [this] { OpenHelp(HelpContextID()); });
  connect(menus_.MnuToolOpt, &QAction::triggered, this, [this] {
    FrmOptions options(settings_, *tools_, *grid_, ProgramPath(), this);
    options.exec();
    KeepAlpha(settings_.KeepAlpha);
    menus_.MnuToolGridLines->setChecked(settings_.Grid);
  });
  connect(menus_.MnuToolGridLines, &QAction::triggered, this, [this](bool shown) {
    settings_.Grid = shown;
    grid_->DrawGridLines();
  });
  connect(menus_.MnuToolZoomIn, &QAction::triggered, this, [this] { grid_->ZoomIn(); });
  connect(menus_.MnuToolZoomOut, &QAction::triggered, this, [this] { grid_->ZoomOut(); });
  connect(menus_.MnuToolZoomFit, &QAction::triggered, this, [this] { grid_->ZoomFit(); });
  connect(menus_.MnuHelpAbout, &QAction::triggered, this, [this] {
    FrmAbout about(this);
    about.exec();
  });

  connect(cmdPrev_, &QPushButton::clicked, this, [this] { StepDocument(-1); });
  connect(cmdNext_, &QPushButton::clicked, this, [this] { StepDocument(1); });
  connect(strip_, &ImageStrip::ImagePressed, this, &FrmMain::ImagePressed);
  connect(command1_, &QPushButton::clicked, this, &FrmMain::PrevInstancePassOver);

  connect(tbFile_, &kzrToolBar::Click, this,
          [this](qint16, qint16, const QString& key) { FileToolBarClick(key); });
  connect(tbDrawing_, &kzrToolBar::Click, this,
          [this](qint16 button, qint16 index, const QString&) { tools_->Choose(button, index); });
  connect(tbTransForm_, &kzrToolBar::Click, this, [this](qint16, qint16 index, const QString&) {
    edits_->Transform(index);
    tbTransForm_->Refresh();
  });
  connect(tbClipboard_, &kzrToolBar::Click, this, [this](qint16, qint16, const QString& key) {
    edits_->ClipboardKey(key);
    tbClipboard_->Refresh();
  });
  connect(menus_.MnuClipCut, &QAction::triggered, this, [this] { edits_->CopySelection(true); });
  connect(menus_.MnuClipCopy, &QAction::triggered, this, [this] { edits_->CopySelection(false); });
  connect(menus_.MnuClipPaste, &QAction::triggered, this, [this] { edits_->Paste(); });
  connect(menus_.MnuClipDelete, &QAction::triggered, this, [this] { edits_->ClearClip(); });
  connect(menus_.MnuClipUndo, &QAction::triggered, this, [this] { edits_->Undo(); });
  connect(menus_.MnuClipRedo, &QAction::triggered, this, [this] { edits_->Redo(); });
  connect(menus_.MnuClipSelectAll, &QAction::triggered, this, [this] { edits_->SelectAll(); });
  connect(menus_.MnuClipDeselect, &QAction::triggered, this, [this] { edits_->Deselect(); });

  for (kzrToolBar* toolbar : {tbFile_, tbClipboard_, tbDrawing_, tbTransForm_}) {
    connect(toolbar, &kzrToolBar::MouseEnter, this,
            [this, toolbar](qint16 index) { lblInfo_->setText(toolbar->ButtonKey(index)); });
  }
}

void FrmMain::FileToolBarClick(const QString& key) {
  if (key == "New") files_.New();
  else if (key == "Open") files_.OpenIconFile();
  else if (key == "Close") files_.Close();
  else if (key == "Save") files_.SaveCurrent(false);
  else if (key == "Exit") {
    close();
    return;
  }
  tbFile_->Refresh();
}

void FrmMain::StepDocument(int step) {
  const int target = IconDocuments.Current + step;
  if (target < 0 || target >= IconDocuments.Count()) return;
  IconDocuments.Current = static_cast<std::int16_t>(target);
  ShowCount();
}

void FrmMain::ImagePressed(int index, int button) {
  if (const cIco* document = CurrentIconDocument();
      document && index >= 0 && index < document->IconCount() && document->Image(static_cast<std::int16_t>(index)).IsKept()) {
    // After the press: deleting the image rebuilds the strip, the picture pressed included.
    QTimer::singleShot(0, this, [this, index] { images_->KeptImagePressed(static_cast<std::int16_t>(index)); });
    return;
  }
  SelectImage(static_cast<std::int16_t>(index), true);
  if (button == 2) menus_.MnuIcon->popup(QCursor::pos());
}

// --- Showing the documents ---

void FrmMain::ShowCount() {
  const bool open = IconDocuments.HasCurrent();
  const int position = open ? IconDocuments.Current + 1 : 0;
  lblCount_->setText(QString::number(position) + " of " + QString::number(IconDocuments.Count()));
  lblFileName_->SetFullText(open ? ShownPath(IconDocuments.CurrentDocument().IconName())
                                  : QString("No Icon"));
  BuildImageList(0);
  // Read again: a file handed over while the strip was painted may have changed the list.
  ShowNavigation();
  UpdateTitle();
}

void FrmMain::ShowNavigation() {
  const bool open = IconDocuments.HasCurrent();
  menus_.MnuToolsImport->setEnabled(open);
  menus_.MnuFileClose->setEnabled(open);
  menus_.MnuIcon->setEnabled(open);
  cmdPrev_->setEnabled(open && IconDocuments.Current >= 1);
  cmdNext_->setEnabled(open && IconDocuments.Current < IconDocuments.Count() - 1);
}

void FrmMain::BuildImageList(std::int16_t selectIndex) {
  grid_->CurrentImage(-1);
  const cIco* document = CurrentIconDocument();
  if (!strip_->Build(document) || !document) return;
  SelectImage(ShownImageNear(*document, selectIndex), true);
}

void FrmMain::SelectImage(std::int16_t index, bool resync) {
  const cIco* document = CurrentIconDocument();
  strip_->MarkSelected(index);
  if (document && grid_->CurrentImage() != -1) strip_->RedrawImage(*document, grid_->CurrentImage());
  grid_->CurrentImage(index);
  palette_->Show(document, index);
  if (resync && HasImage(document, index)) colours_->Sync(*document, index);
  colours_->ShowOpacity(HasImage(document, index) && TakesOpacity(document->Image(index)));
  grid_->DrawMainIcon();
}

std::int16_t FrmMain::CurrentImage() const { return grid_->CurrentImage(); }

void FrmMain::DrawMainIcon() { grid_->DrawMainIcon(); }

void FrmMain::ClearGrid() { grid_->Clear(); }

bool FrmMain::ImportPicture(const std::string& path) { return images_->ImportImage(path); }

void FrmMain::UpdateRecovery() { recovery_->Update(); }

void FrmMain::OfferRecovery() {
  const auto recovered = recovery_->OfferRecovery();
  if (recovered.empty()) return;
  const auto& last = recovered.back();
  IconDocuments.Current = static_cast<std::int16_t>(IconDocuments.Count() - 1);
  ShowCount();
  if (last.currentImage > 0) SelectImage(static_cast<std::int16_t>(last.currentImage), true);
}

void FrmMain::ShowSaved() {
  lblFileName_->SetFullText(ShownPath(IconDocuments.CurrentDocument().IconName()));
  ShowNavigation();
  UpdateTitle();
  grid_->DrawMainIcon();
}

void FrmMain::TellSaved(const std::string& text) {
  if (settings_.ConfirmSaves) ShowMessage("Icon Saved", text, Prompter::Icon::Information);
  else statusBar()->showMessage(QString::fromStdString(text), kSavedMessageMs);
}

void FrmMain::UpdateTitle() {
  const cIco* document = CurrentIconDocument();
  const QString title = document ? ShownPath(document->IconName()) + "[*] \u2014 " + kApplicationTitle
                                 : QString(kApplicationTitle);
  if (windowTitle() != title) setWindowTitle(title);
  setWindowModified(document && document->Changed());
}

// --- Hand-over and closing ---

void FrmMain::PrevInstancePassOver() {
  const QString path = command1_->text();
  if (!path.isEmpty()) {
    if (OpenOrExplain(LocalPath(path), OpenFailureOffer::None) == OpenOutcome::Opened) {
      IconDocuments.Current = static_cast<std::int16_t>(IconDocuments.Count() - 1);
      ShowCount();
    }
  }
  command1_->setText(kHandOverCaption);
}

void FrmMain::HandOver(const QString& path) {
  // A file from another start brings the shown window to the front first, so that a message
  // about the file shows over it. Only a minimised state is undone: a maximised window that
  // was minimised comes back maximised.
  if (isVisible()) {
    if (isMinimized()) setWindowState(windowState() & ~Qt::WindowMinimized);
    raise();
    activateWindow();
  }
  command1_->setText(path);
  command1_->click();
}

void FrmMain::closeEvent(QCloseEvent* event) {
  SaveSettings(settings_);
  LetEventsRun();
  // Last first; one handed over meanwhile is closed too. A document the user keeps (Cancel
  // on the question or the save) stops the exit there, with that document shown.
  while (IconDocuments.Count() > 0) {
    IconDocuments.Current = static_cast<std::int16_t>(IconDocuments.Count() - 1);
    if (!files_.Close()) {
      ShowCount();
      event->ignore();
      return;
    }
    LetEventsRun();
  }
  LetEventsRun();
  for (QWidget* form : QApplication::topLevelWidgets()) {
    if (form != this && form->isVisible()) form->close();
  }
  event->accept();
}

}  // namespace brixel
