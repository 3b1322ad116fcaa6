#include "MainMenus.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

namespace brixel {
namespace {

QMenu* AddMenu(QMenuBar& bar, const char* name, const char* caption) {
  QMenu* menu = bar.addMenu(caption);
  menu->setObjectName(name);
  return menu;
}

QAction* AddItem(QMenu* menu, const char* name, const char* caption,
                 const QKeySequence& shortcut = {}) {
  QAction* action = menu->addAction(caption);
  action->setObjectName(name);
  action->setShortcut(shortcut);
  return action;
}

QAction* AddSeparator(QMenu* menu, const char* name) {
  QAction* separator = menu->addSeparator();
  separator->setObjectName(name);
  return separator;
}

}  // namespace

MainMenus BuildMainMenus(QMenuBar& bar) {
  MainMenus m;
  m.MnuFile = AddMenu(bar, "MnuFile", "&File");
  m.MnuFileNew = AddItem(m.MnuFile, "MnuFileNew", "&New", QKeySequence("Ctrl+N"));
  m.MnuFileNewFromPicture = AddItem(m.MnuFile, "MnuFileNewFromPicture", "New Icon from &Picture...");
  m.MnuFileOpen = AddItem(m.MnuFile, "MnuFileOpen", "&Open", QKeySequence("Ctrl+O"));
  m.MnuFileSave = AddItem(m.MnuFile, "MnuFileSave", "&Save", QKeySequence("Ctrl+S"));
  m.MnuFileSaveAs = AddItem(m.MnuFile, "MnuFileSaveAs", "Save &As");
  m.MnuFileClose = AddItem(m.MnuFile, "MnuFileClose", "&Close");
  m.MnuFileSp1 = AddSeparator(m.MnuFile, "MnuFileSp1");
  m.MnuFileExit = AddItem(m.MnuFile, "MnuFileExit", "E&xit");

  m.MnuIcon = AddMenu(bar, "MnuIcon", "&Icon");
  m.MnuIconAdd = AddItem(m.MnuIcon, "MnuIconAdd", "&Add Image", QKeySequence("Ctrl+A"));
  m.MnuIconDelete = AddItem(m.MnuIcon, "MnuIconDelete", "&Delete Image", QKeySequence("Ctrl+D"));
  m.MnuIconSp1 = AddSeparator(m.MnuIcon, "MnuIconSp1");
  m.MnuToolsImport = AddItem(m.MnuIcon, "MnuToolsImport", "&Import Image");
  m.MnuIconExport = AddItem(m.MnuIcon, "MnuIconExport", "&Export Image");
  m.MnuIconSp2 = AddSeparator(m.MnuIcon, "MnuIconSp2");
  m.MnuIconCopy = AddItem(m.MnuIcon, "MnuIconCopy", "&Copy to new size / depth");
  m.MnuIconAnimation = AddItem(m.MnuIcon, "MnuIconAnimation", "&Animation...");

  m.MnuTool = AddMenu(bar, "MnuTool", "&Tools");
  m.MnuToolOpt = AddItem(m.MnuTool, "MnuToolOpt", "&Options");
  // Zooming the edit grid; Ctrl and the wheel over the grid zoom too.
  m.MnuToolSp1 = AddSeparator(m.MnuTool, "MnuToolSp1");
  m.MnuToolZoomIn = AddItem(m.MnuTool, "MnuToolZoomIn", "Zoom &In");
  m.MnuToolZoomIn->setShortcuts({QKeySequence(QKeySequence::ZoomIn), QKeySequence("Ctrl+=")});
  m.MnuToolZoomOut = AddItem(m.MnuTool, "MnuToolZoomOut", "Zoom &Out", QKeySequence(QKeySequence::ZoomOut));
  m.MnuToolZoomFit = AddItem(m.MnuTool, "MnuToolZoomFit", "&Fit Grid", QKeySequence("Ctrl+0"));
  // The drawing grid option, at hand: the grid lines and their markers.
  m.MnuToolGridLines = AddItem(m.MnuTool, "MnuToolGridLines", "Show grid lines");
  m.MnuToolGridLines->setCheckable(true);
  m.MnuToolGridLines->setChecked(true);

  m.MnuClip = AddMenu(bar, "MnuClip", "&Clipboard");
  m.MnuClipUndo = AddItem(m.MnuClip, "MnuClipUndo", "&Undo", QKeySequence("Ctrl+Z"));
  m.MnuClipRedo = AddItem(m.MnuClip, "MnuClipRedo", "&Redo");
  m.MnuClipRedo->setShortcuts({QKeySequence("Ctrl+Y"), QKeySequence("Ctrl+Shift+Z")});
  m.MnuClipSp1 = AddSeparator(m.MnuClip, "MnuClipSp1");
  m.MnuClipCut = AddItem(m.MnuClip, "MnuClipCut", "C&ut", QKeySequence("Ctrl+X"));
  m.MnuClipCopy = AddItem(m.MnuClip, "MnuClipCopy", "&Copy", QKeySequence("Ctrl+C"));
  m.MnuClipPaste = AddItem(m.MnuClip, "MnuClipPaste", "&Paste", QKeySequence("Ctrl+V"));
  m.MnuClipDelete = AddItem(m.MnuClip, "MnuClipDelete", "C&lear");
  // Ctrl+A and Ctrl+D are Add Image and Delete Image.
  m.MnuClipSp2 = AddSeparator(m.MnuClip, "MnuClipSp2");
  m.MnuClipSelectAll = AddItem(m.MnuClip, "MnuClipSelectAll", "Select &All", QKeySequence("Ctrl+Alt+A"));
  m.MnuClipDeselect = AddItem(m.MnuClip, "MnuClipDeselect", "&Deselect", QKeySequence("Ctrl+Shift+A"));

  m.MnuHelp = AddMenu(bar, "MnuHelp", "&Help");
  m.MnuHelpHelp = AddItem(m.MnuHelp, "MnuHelpHelp", "&Help");
  m.MnuHelpAbout = AddItem(m.MnuHelp, "MnuHelpAbout", "&About");
  return m;
}

}  // namespace brixel
