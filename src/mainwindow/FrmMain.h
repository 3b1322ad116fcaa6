#pragma once

#include <QMainWindow>
#include <cstdint>
#include <memory>

#include "FileCommands.h"
#include "MainMenus.h"
#include "Settings.h"
#include "TextTool.h"
#include "ToolBarPicture.h"

class QLabel;
class QPushButton;

namespace brixel {

class Clip;
class ColourPanel;
class EditCommands;
class EditGrid;
class ElidedLabel;
class GridEditor;
class MouseColours;
class ToolChoice;
class HelpTopics;
class ImageCommands;
class ImageStrip;
class MouseFunctionsPanel;
class PalettePanel;
class RecoveryKeeper;
class kzrToolBar;

// The editor's one window. It holds any number of open icon documents and shows the current
// one: a counter with Previous and Next, the strip of the document's images, the edit grid of
// the current image and its palette. Menus and toolbars lead to the commands; the hidden
// button Command1 receives a file handed over by a second start of the program.
class FrmMain : public QMainWindow, private DocumentWindow {
  Q_OBJECT

 public:
  static constexpr const char* kHandOverCaption = "PrevInstancePassOverButton";

  // Builds the window and reads the settings.
  explicit FrmMain(QWidget* parent = nullptr);
  ~FrmMain() override;

  // Brings the counter, the file-name label, the menus, the navigation buttons and the strip
  // up to date for the current document and selects its first image.
  void ShowCount() override;
  // Opens the file whose path is Command1's caption, then gives the button its caption back.
  void PrevInstancePassOver();
  // Sets Command1's caption to the path and clicks it: how a file reaches the window.
  void HandOver(const QString& path);
  QPushButton& Command1() { return *command1_; }

  // Rebuilds the strip for the current document and selects the image of that index.
  void BuildImageList(std::int16_t selectIndex);
  // Makes an image of the current document current and repaints what depends on it: the
  // captions' colours, the previous image's thumbnail, the palette and the grid. With resync
  // the mouse buttons' colours are brought in line with the image's palette.
  void SelectImage(std::int16_t index, bool resync = true);
  std::int16_t CurrentImage() const;
  // Repaints the edit grid from the current image.
  void DrawMainIcon();

  bool SaveCurrent(bool saveAs) { return files_.SaveCurrent(saveAs); }
  void OpenIconFile() { files_.OpenIconFile(); }

  // The options and each mouse button's tool, as read at construction and saved on close.
  Settings& Options() { return settings_; }
  EditGrid& Grid() { return *grid_; }
  EditCommands& Edits() { return *edits_; }
  GridEditor& Editor() { return *editor_; }  // for the benchmarks
  MouseColours& Colours() { return *colours_; }
  ToolChoice& Tools() { return *tools_; }
  Clip& TheClip() { return *clip_; }
  // The text tool's last confirmed font, size and text.
  void SetFont(const QString& font, const QString& size, const QString& text) {
    text_.SetFont(font, size, text);
  }
  const TextSettings& Text() const { return text_; }
  // The help topic of the region last under the pointer.
  int HelpContextID() const;
  // "NAME — Brixel", marked while the current document has unsaved changes; kept up to date
  // a few times a second.
  void UpdateTitle();
  // Offers the documents left by an editor that ended without closing them, and shows the
  // last one taken at the image the user was working on.
  void OfferRecovery();
  RecoveryKeeper& Recovery() { return *recovery_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void ClearGrid() override;
  QWidget* DialogOwner() override { return this; }
  bool ImportPicture(const std::string& path) override;
  void ShowSaved() override;
  void UpdateRecovery() override;
  void TellSaved(const std::string& text) override;

  QWidget* BuildCentralArea();
  QWidget* BuildDocumentColumn(QWidget* parent);
  void BuildStatusBar();
  void ConnectCommands();
  void AssignHelpTopics();
  void BuildEditing();
  bool OpenTextDialog();
  void ShowNavigation();
  void StepDocument(int step);
  void ImagePressed(int index, int button);
  void FileToolBarClick(const QString& key);

  Settings settings_;
  FileCommands files_{*this};
  std::unique_ptr<ImageCommands> images_;
  MainMenus menus_;

  kzrToolBar* tbFile_ = nullptr;
  kzrToolBar* tbClipboard_ = nullptr;
  kzrToolBar* tbDrawing_ = nullptr;
  kzrToolBar* tbTransForm_ = nullptr;
  QPushButton* cmdPrev_ = nullptr;
  QPushButton* cmdNext_ = nullptr;
  QLabel* lblCount_ = nullptr;
  ElidedLabel* lblFileName_ = nullptr;
  QLabel* lblLocation_ = nullptr;
  QLabel* lblInfo_ = nullptr;
  QPushButton* command1_ = nullptr;
  ImageStrip* strip_ = nullptr;
  PalettePanel* palette_ = nullptr;
  MouseFunctionsPanel* mouseFunctions_ = nullptr;
  std::unique_ptr<EditGrid> grid_;
  TextSettings text_;
  std::unique_ptr<ToolChoice> tools_;
  std::unique_ptr<MouseColours> colours_;
  std::unique_ptr<Clip> clip_;
  std::unique_ptr<GridEditor> editor_;
  std::unique_ptr<EditCommands> edits_;
  std::unique_ptr<RecoveryKeeper> recovery_;
  HelpTopics* helpTopics_ = nullptr;
  // The two pictures of the flood-fill button (PctSquare: four neighbours, PctDiag: eight).
  ToolBarPicture squareFlood_;
  ToolBarPicture diagonalFlood_;
};

}  // namespace brixel
