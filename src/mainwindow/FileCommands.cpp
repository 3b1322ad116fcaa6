#include "FileCommands.h"

#include <QString>
#include <filesystem>
#include <system_error>

#include "AnimatedCursors.h"
#include "CurrentDocument.h"
#include "Documents.h"
#include "OpenForEditing.h"
#include "PathText.h"
#include "Prompter.h"
#include "cCommonDialog.h"

namespace brixel {
namespace {

constexpr const char* kOpenFilter =
    "Supported Files|*.ico;*.cur;*.ani|Icon Files (ico)|*.ico|Cursor (cur)|*.cur|"
    "Animated Cursor (ani)|*.ani";
constexpr const char* kSaveFilter = "Icon (ico)|*.ico|Cursor (cur)|*.cur|Animated Cursor (ani)|*.ani";
constexpr const char* kDefaultExtension = ".ico";

bool IsExistingFile(const std::string& path) {
  std::error_code error;
  return !path.empty() && std::filesystem::is_regular_file(path, error);
}

}  // namespace

void FileCommands::New() {
  NewDocument();
  IconDocuments.Current = static_cast<std::int16_t>(IconDocuments.Count() - 1);
  IconDocuments.CurrentDocument().AddImage(32, 32, 8, 0);
  window_.ShowCount();
}

void FileCommands::OpenIconFile() {
  const QString fileName = cCommonDialog().OpenExistingFile(kOpenFilter, window_.DialogOwner());
  if (fileName.isEmpty()) return;
  if (OpenForEditing(LocalPath(fileName))) {
    IconDocuments.Current = static_cast<std::int16_t>(IconDocuments.Count() - 1);
    window_.ShowCount();
    return;
  }
  if (AskYesNo("Unable to open file", fileName.toStdString() +
                                          " is an invalid file format\r\n"
                                          "Do you want to try importing it?")) {
    New();
    window_.ImportPicture(LocalPath(fileName));
  }
}

void FileCommands::SaveCurrent(bool saveAs) {
  cIco* document = CurrentIconDocument();
  if (!document) return;
  std::string path = document->IconPath();
  QString shown = ShownPath(path);
  if (saveAs || path.empty()) {
    cCommonDialog dialog;
    QString fileTitle;
    QString filter = kSaveFilter;
    qint32 filterIndex = 1;
    qint32 flags = 0;
    shown.clear();
    if (!dialog.VBGetSaveFileName(shown, fileTitle, true, filter, filterIndex, QString(),
                                  QString(), kDefaultExtension, window_.DialogOwner(), flags)) {
      return;
    }
    path = LocalPath(shown);
  }
  cAni* cursor = PrepareAnimationSave(*document, path);
  const bool saved = SaveDocument(path);
  AnimationSaved(*document, path, cursor, saved);
  if (!saved) return;
  document->Changed(false);
  ShowMessage("Icon Saved", "Icon Saved as " + shown.toStdString(), Prompter::Icon::Information);
  window_.ShowCount();
}

void FileCommands::Close() {
  cIco* document = CurrentIconDocument();
  if (!document) return;
  if (document->Changed() &&
      AskYesNo("Unsaved Icon",
               document->IconName() + " has been changed, would you like to save it?")) {
    // The document's own file, wherever it lies; a document never saved or whose file has
    // gone asks for a name.
    SaveCurrent(!IsExistingFile(document->IconPath()));
  }
  // The window shows icon documents only, so the current icon document goes, whatever the
  // extension it was saved under.
  CloseAnimationOf(document);
  CloseDocument(std::string(), "ICO");
  window_.ClearGrid();
  window_.ShowCount();
}

}  // namespace brixel
