#include "OpenFromProgram.h"

#include <filesystem>
#include <memory>

#include "ErrorReport.h"
#include "ProgramIcons.h"
#include "ProposedNames.h"
#include "Prompter.h"
#include "TrapErrors.h"
#include "cAni.h"
#include "cIco.h"

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

// The name proposed for a group of the program at path: beside the program, its name and the
// group's file name (GroupFileNames), as "user32-32512.cur".
std::string ProposedPath(const std::string& path, const std::string& groupFile) {
  const std::filesystem::path program(path);
  return (program.parent_path() / (program.stem().string() + "-" + groupFile)).string();
}

// The rebuilt group as a document in the lists under the proposed path; false when its reader
// failed (reported).
bool AddDocument(const ResourceGroup& group, const Bytes& file, const std::string& proposed) {
  // Save asks for a name, starting from the one proposed, until the document has been saved.
  if (group.kind == GroupKind::AnimatedIcon || group.kind == GroupKind::AnimatedCursor) {
    auto cursor = std::make_unique<cAni>();
    if (!cursor->ReadAniData(file)) return false;
    AddUnderProposedName(std::move(cursor), proposed);
  } else {
    auto document = std::make_unique<cIco>();
    if (!document->ReadIconData(file)) return false;
    AddUnderProposedName(std::move(document), proposed);
  }
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
  if (!AddDocument(group, rebuilt.file, ProposedPath(path, GroupFileNames(program->Groups())[*chosen]))) {
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
