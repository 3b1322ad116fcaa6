#pragma once

class QAction;
class QMenu;
class QMenuBar;

namespace brixel {

// The main window's menus and their items, each with its object name, caption, access key and
// shortcut. Separators are actions too, so that every entry can be found by name.
struct MainMenus {
  QMenu* MnuFile = nullptr;
  QAction* MnuFileNew = nullptr;
  QAction* MnuFileNewFromPicture = nullptr;
  QAction* MnuFileOpen = nullptr;
  QAction* MnuFileSave = nullptr;
  QAction* MnuFileSaveAs = nullptr;
  QAction* MnuFileClose = nullptr;
  QAction* MnuFileSp1 = nullptr;
  QAction* MnuFileExit = nullptr;

  QMenu* MnuIcon = nullptr;
  QAction* MnuIconAdd = nullptr;
  QAction* MnuIconDelete = nullptr;
  QAction* MnuIconSp1 = nullptr;
  QAction* MnuToolsImport = nullptr;
  QAction* MnuIconExport = nullptr;
  QAction* MnuIconSp2 = nullptr;
  QAction* MnuIconCopy = nullptr;
  QAction* MnuIconAnimation = nullptr;

  QMenu* MnuTool = nullptr;
  QAction* MnuToolOpt = nullptr;
  QAction* MnuToolSp1 = nullptr;
  QAction* MnuToolZoomIn = nullptr;
  QAction* MnuToolZoomOut = nullptr;
  QAction* MnuToolZoomFit = nullptr;
  QAction* MnuToolGridLines = nullptr;

  QMenu* MnuClip = nullptr;
  QAction* MnuClipUndo = nullptr;
  QAction* MnuClipRedo = nullptr;
  QAction* MnuClipSp1 = nullptr;
  QAction* MnuClipCut = nullptr;
  QAction* MnuClipCopy = nullptr;
  QAction* MnuClipPaste = nullptr;
  QAction* MnuClipDelete = nullptr;
  QAction* MnuClipSp2 = nullptr;
  QAction* MnuClipSelectAll = nullptr;
  QAction* MnuClipDeselect = nullptr;

  QMenu* MnuHelp = nullptr;
  QAction* MnuHelpHelp = nullptr;
  QAction* MnuHelpAbout = nullptr;
};

// Fills the menu bar, in the order File, Icon, Tools, Clipboard, Help.
MainMenus BuildMainMenus(QMenuBar& bar);

}  // namespace brixel
