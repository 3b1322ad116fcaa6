#include "FileCommands.h"

#include <QString>
#include <filesystem>
#include <system_error>

#include "AnimatedCursors.h"
#include "CurrentDocument.h"
#include "Documents.h"
#include "ErrorReport.h"
#include "OpenForEditing.h"
#include "PathText.h"
#include "ProposedNames.h"
#include "Prompter.h"
#include "cCommonDialog.h"

namespace brixel {
namespace {

constexpr const char* kOpenFilter =
    "Supported Files|*.ico;*.cur;*.ani;*.icns;*.exe;*.dll;*.ocx;*.cpl;*.scr;*.mui;*.icl|Icon Files (ico)|*.ico|"
    "Cursor (cur)|*.cur|Animated Cursor (ani)|*.ani|macOS Icon (icns)|*.icns|"
    "Programs and Libraries (exe, dll, ocx, cpl, scr, mui, icl)|*.exe;*.dll;*.ocx;*.cpl;*.scr;*.mui;*.icl"
    "|Linux Cursor (Xcursor)|*";
constexpr const char* kSaveFilter =
    "Icon (ico)|*.ico|Cursor (cur)|*.cur|Animated Cursor (ani)|*.ani|macOS Icon (icns)|*.icns";
constexpr const char* kDefaultExtension = ".ico";

bool IsExistingFile(const std::string& path) {
  std::error_code error;
  return !path.empty() && std::filesystem::is_regular_file(path, error);
}

// A save that failed with a report says so in plain words; the report is its details. A save
// the user declined (a read-only file) has no report and needs no message.
void TellSaveFailure(const std::string& path, const ReportCollector& reports) {
  if (reports.Reports().empty()) return;
  AskWithDetails("Unable to save file",
                 path + " could not be saved: " + reports.Reports().front().description + ".",
                 reports.Details(), Prompter::Icon::Exclamation, Prompter::Buttons::Ok);
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
  const std::string path = LocalPath(fileName);
  const OpenOutcome outcome = OpenOrExplain(path, OpenFailureOffer::Import);
  if (outcome == OpenOutcome::Opened) {
    IconDocuments.Current = static_cast<std::int16_t>(IconDocuments.Count() - 1);
    window_.ShowCount();
    return;
  }
  if (outcome != OpenOutcome::ImportAccepted) return;
  New();
  // Nothing imported: the document made for the picture goes again.
  if (!window_.ImportPicture(path)) Discard();
}

bool FileCommands::SaveCurrent(bool saveAs) {
  cIco* document = CurrentIconDocument();
  if (!document) return false;
  std::string path = document->IconPath();
  QString shown = ShownPath(path);
  if (saveAs || path.empty() || HasProposedName(*document)) {
    cCommonDialog dialog;
    QString fileTitle;
    QString filter = kSaveFilter;
    qint32 filterIndex = 1;
    qint32 flags = 0;
    if (!dialog.VBGetSaveFileName(shown, fileTitle, true, filter, filterIndex, QString(),
                                  QString(), kDefaultExtension, window_.DialogOwner(), flags)) {
      return false;
    }
    path = LocalPath(shown);
  }
  cAni* cursor = PrepareAnimationSave(*document, path);
  bool saved = false;
  {
    ReportCollector reports;
    saved = SaveDocument(path);
    if (!saved) TellSaveFailure(shown.toStdString(), reports);
  }
  AnimationSaved(*document, path, cursor, saved);
  if (!saved) return false;
  ForgetProposedName(*document);
  document->Changed(false);
  window_.UpdateRecovery();
  window_.ShowSaved();
  window_.TellSaved("Icon Saved as " + shown.toStdString());
  return true;
}

bool FileCommands::Close() {
  cIco* document = CurrentIconDocument();
  if (!document) return true;
  if (document->Changed()) {
    const Prompter::Answer answer = AskYesNoCancel(
        "Unsaved Icon", document->IconName() + " has been changed, would you like to save it?");
    if (answer == Prompter::Answer::Cancel) return false;
    // The document's own file, wherever it lies; a document never saved or whose file has
    // gone asks for a name. A save that did not happen keeps the document open.
    if (answer == Prompter::Answer::Yes && !SaveCurrent(!IsExistingFile(document->IconPath()))) {
      return false;
    }
  }
  Discard();
  return true;
}

void FileCommands::Discard() {
  // The window shows icon documents only, so the current icon document goes, whatever the
  // extension it was saved under.
  CloseAnimationOf(CurrentIconDocument());
  CloseDocument(std::string(), "ICO");
  window_.UpdateRecovery();
  window_.ClearGrid();
  window_.ShowCount();
}

}  // namespace brixel
