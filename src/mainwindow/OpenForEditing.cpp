#include "OpenForEditing.h"

#include <memory>

#include "AnimatedCursors.h"
#include "Documents.h"
#include "ErrorReport.h"
#include "OpenFromProgram.h"
#include "ProgramResources.h"
#include "Prompter.h"
#include "XcursorOpening.h"
#include "XcursorReader.h"

namespace brixel {
namespace {

constexpr const char* kUnableToOpen = "Unable to open file";

// Failures of reaching the file rather than of what it holds.
bool IsAccessFailure(int number) {
  switch (static_cast<ErrorCode>(number)) {
    case ErrorCode::OutOfMemory:
    case ErrorCode::BadFileName:
    case ErrorCode::FileNotFound:
    case ErrorCode::DeviceIO:
    case ErrorCode::PermissionDenied:
    case ErrorCode::PathFileAccess:
    case ErrorCode::PathNotFound: return true;
    default: return false;
  }
}

}  // namespace

bool OpenForEditing(const std::string& path) {
  // Linux cursors are known by their content: their files have no extension.
  if (IsXcursorFileAt(path)) return OpenXcursorForEditing(path);
  const std::int16_t iconsBefore = IconDocuments.Count();
  const std::int16_t cursorsBefore = AniDocuments.Count();
  if (!OpenDocument(path)) return false;
  if (AniDocuments.Count() > cursorsBefore) {
    AdoptAnimatedCursor();
  } else if (IconDocuments.Count() > iconsBefore) {
    IconDocuments.Items.back()->Changed(false);
  }
  return true;
}

namespace {

// A macOS icon or a Linux cursor, known by its content (or an .icns by its name), that does not
// open is damaged rather than of another kind: the reader's reason is the message.
bool IsDamagedOfItsKind(const std::string& path) {
  const std::string type = DocumentType(path);
  return IsXcursorFileAt(path) || (type != "ICO" && type != "CUR" && OpensAsIconDocument(path));
}

}  // namespace

OpenOutcome OpenOrExplain(const std::string& path, OpenFailureOffer offer) {
  // A program or library, known by its content: one of its groups as a new document.
  if (IsExecutableFile(path)) {
    return OpenFromProgram(path) == ProgramOpened::Opened ? OpenOutcome::Opened : OpenOutcome::NotOpened;
  }
  ReportCollector reports;
  if (OpenForEditing(path)) return OpenOutcome::Opened;
  const auto& collected = reports.Reports();
  if (!collected.empty() && (IsAccessFailure(collected.front().number) || IsDamagedOfItsKind(path))) {
    AskWithDetails(kUnableToOpen,
                   path + " could not be opened: " + collected.front().description + ".",
                   reports.Details(), Prompter::Icon::Exclamation, Prompter::Buttons::Ok);
    return OpenOutcome::NotOpened;
  }
  const std::string notAnIcon = path + " is not an icon, cursor or animated cursor file.";
  if (offer == OpenFailureOffer::None) {
    AskWithDetails(kUnableToOpen, notAnIcon, reports.Details(), Prompter::Icon::Exclamation,
                   Prompter::Buttons::Ok);
    return OpenOutcome::NotOpened;
  }
  const Prompter::Answer answer =
      AskWithDetails(kUnableToOpen, notAnIcon + "\r\nDo you want to try importing it?",
                     reports.Details(), Prompter::Icon::None, Prompter::Buttons::YesNo);
  return answer == Prompter::Answer::Yes ? OpenOutcome::ImportAccepted : OpenOutcome::NotOpened;
}

}  // namespace brixel
