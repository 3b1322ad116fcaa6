#include "OpenFromProgram.h"

#include <memory>

#include "AnimatedCursors.h"
#include "Documents.h"
#include "ErrorReport.h"
#include "ProgramIcons.h"
#include "Prompter.h"
#include "TrapErrors.h"

namespace brixel {
namespace {

constexpr const char* kUnableToOpen = "Unable to open file";

GroupChooser& InstalledChooser() {
  static GroupChooser chooser;
  return chooser;
}

void TellFailure(const std::string& text, const ReportCollector& reports) {
  AskWithDetails(kUnableToOpen, text, reports.Details(), Prompter::Icon::Exclamation, Prompter::Buttons::Ok);
}

// The rebuilt group as a document in the lists; false when its reader failed (reported).
bool AddDocument(const ResourceGroup& group, const Bytes& file) {
  if (group.kind == GroupKind::AnimatedIcon || group.kind == GroupKind::AnimatedCursor) {
    auto cursor = std::make_unique<cAni>();
    if (!cursor->ReadAniData(file)) return false;
    cursor->NewIcon(false);
    AniDocuments.Items.push_back(std::move(cursor));
    AdoptAnimatedCursor();
    return true;
  }
  auto document = std::make_unique<cIco>();
  if (!document->ReadIconData(file)) return false;
  document->Changed(false);
  IconDocuments.Items.push_back(std::move(document));
  return true;
}

}  // namespace

void InstallGroupChooser(GroupChooser chooser) { InstalledChooser() = std::move(chooser); }

ProgramOpened OpenFromProgram(const std::string& path) {
  ReportCollector reports;
  std::optional<ProgramIcons> program;
  try {
    program.emplace(ReadWholeFile(path));
  } catch (const BackEndError& e) {
    TellFailure(path + " could not be opened: " + e.Description() + ".", reports);
    return ProgramOpened::Failed;
  }
  if (program->Groups().empty()) {
    TellFailure(path + " holds no icons or cursors.", reports);
    return ProgramOpened::Failed;
  }
  const std::optional<std::size_t> chosen =
      InstalledChooser() ? InstalledChooser()(path, *program) : std::optional<std::size_t>(program->FirstIconGroup());
  if (!chosen || *chosen >= program->Groups().size()) return ProgramOpened::Declined;
  const ResourceGroup& group = program->Groups()[*chosen];
  const std::string named = std::string(GroupKindName(group.kind)) + " " + group.name.Text() + " of " + path;
  RebuiltGroup rebuilt;
  try {
    rebuilt = program->Rebuild(*chosen);
  } catch (const BackEndError& e) {
    TellFailure("The " + named + " could not be opened: " + e.Description() + ".", reports);
    return ProgramOpened::Failed;
  }
  if (!AddDocument(group, rebuilt.file)) {
    TellFailure("The " + named + " could not be opened.", reports);
    return ProgramOpened::Failed;
  }
  if (!rebuilt.leftOut.empty()) {
    std::string text = "Some images of the " + named + " are not in the file and were left out:";
    for (const std::string& line : rebuilt.leftOut) text += "\r\n" + line;
    ShowMessage("Images left out", text, Prompter::Icon::Information);
  }
  return ProgramOpened::Opened;
}

}  // namespace brixel
