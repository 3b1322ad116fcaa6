#include "ProgramCommand.h"

#include <filesystem>
#include <optional>

#include "AsciiText.h"
#include "Commands.h"
#include "FileFailure.h"
#include "JsonWriter.h"
#include "ProgramIcons.h"

namespace brixel::cli {
namespace {

std::optional<ProgramIcons> ReadProgram(const std::string& path, std::ostream& err) {
  std::optional<ProgramIcons> program;
  if (!RunOnFile(path, "read", err, [&] { program.emplace(ReadWholeFile(path)); })) return std::nullopt;
  return program;
}

std::string SizesText(const std::vector<GroupImageSize>& sizes) {
  std::string text;
  for (const GroupImageSize& size : sizes) {
    text += (text.empty() ? "" : ", ") + std::to_string(size.width) + "x" + std::to_string(size.height) + " " +
            std::to_string(size.bitCount) + " bit";
  }
  return text;
}

void PrintText(const std::string& path, const ProgramIcons& program, std::ostream& out) {
  const std::vector<ResourceGroup>& groups = program.Groups();
  const std::vector<std::string> files = GroupFileNames(groups);
  out << path << ": " << program.Format() << " program, " << groups.size() << (groups.size() == 1 ? " group" : " groups")
      << '\n';
  for (std::size_t i = 0; i < groups.size(); ++i) {
    const ResourceGroup& group = groups[i];
    out << "  " << GroupKindName(group.kind) << " " << group.name.Text() << ", language " << group.language << ", "
        << files[i];
    const std::string sizes = SizesText(program.ImageSizes(i));
    out << (sizes.empty() ? "" : ": ") << sizes << '\n';
  }
}

void PrintJson(const std::string& path, const ProgramIcons& program, std::ostream& out) {
  const std::vector<ResourceGroup>& groups = program.Groups();
  const std::vector<std::string> files = GroupFileNames(groups);
  out << "{\"path\": " << JsonString(path) << ", \"type\": \"program\", \"format\": " << JsonString(program.Format())
      << ", \"groups\": [";
  for (std::size_t i = 0; i < groups.size(); ++i) {
    const ResourceGroup& group = groups[i];
    out << (i == 0 ? "" : ", ") << "{\"kind\": " << JsonString(GroupKindName(group.kind))
        << ", \"name\": " << JsonString(group.name.Text()) << ", \"named\": " << (group.name.named ? "true" : "false")
        << ", \"language\": " << group.language << ", \"file\": " << JsonString(files[i]) << ", \"images\": [";
    bool first = true;
    for (const GroupImageSize& size : program.ImageSizes(i)) {
      out << (first ? "" : ", ") << "{\"width\": " << size.width << ", \"height\": " << size.height
          << ", \"bitCount\": " << size.bitCount << "}";
      first = false;
    }
    out << "]}";
  }
  out << "]}\n";
}

}  // namespace

int ProgramInfo(const std::string& path, bool json, std::ostream& out, std::ostream& err) {
  const std::optional<ProgramIcons> program = ReadProgram(path, err);
  if (!program) return kExitFailure;
  if (json) PrintJson(path, *program, out);
  else PrintText(path, *program, out);
  return kExitOk;
}

int Extract(const std::vector<std::string>& args, std::ostream& err) {
  std::vector<std::string> files;
  std::string type = "all";
  std::optional<std::string> name;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if ((args[i] == "--type" || args[i] == "--name") && i + 1 < args.size()) {
      if (args[i] == "--type") type = args[i + 1];
      else name = args[i + 1];
      ++i;
    } else {
      files.push_back(args[i]);
    }
  }
  if (files.size() != 2 || (type != "icon" && type != "cursor" && type != "all")) {
    err << "brixel-cli: extract takes FILE and DIR, [--type icon|cursor|all] and [--name N]\n";
    return kExitUsage;
  }
  const std::string& path = files[0];
  const std::filesystem::path dir = files[1];
  const std::optional<ProgramIcons> program = ReadProgram(path, err);
  if (!program) return kExitFailure;
  const std::vector<ResourceGroup>& groups = program->Groups();
  const std::vector<std::string> names = GroupFileNames(groups);
  std::vector<std::size_t> chosen;
  for (std::size_t i = 0; i < groups.size(); ++i) {
    if (type != "all" && IsIconKind(groups[i].kind) != (type == "icon")) continue;
    // Windows compares resource names without regard to case.
    if (name && AsciiUpper(groups[i].name.Text()) != AsciiUpper(*name)) continue;
    chosen.push_back(i);
  }
  if (chosen.empty()) {
    err << "brixel-cli: " << path << ": holds no " << (type == "all" ? "icon or cursor" : type) << " group"
        << (name ? " named " + *name : std::string()) << '\n';
    return kExitFailure;
  }
  std::error_code error;
  std::filesystem::create_directories(dir, error);
  if (!std::filesystem::is_directory(dir, error)) {
    err << "brixel-cli: " << dir.string() << ": not a folder\n";
    return kExitFailure;
  }
  RebuildBudget budget(program->FileSize());
  int failed = 0;
  for (const std::size_t i : chosen) {
    const std::string target = (dir / names[i]).string();
    const std::string what = path + ": " + GroupKindName(groups[i].kind) + " " + groups[i].name.Text();
    RebuiltGroup rebuilt;
    if (!RunOnFile(what, "rebuilt", err, [&] { rebuilt = program->Rebuild(i, &budget); })) {
      ++failed;
      continue;
    }
    TellWarnings(what, rebuilt.leftOut, err);
    if (!RunOnFile(target, "written", err, [&] { WriteFileReplacing(target, rebuilt.file); })) ++failed;
  }
  return failed == 0 ? kExitOk : kExitFailure;
}

}  // namespace brixel::cli
