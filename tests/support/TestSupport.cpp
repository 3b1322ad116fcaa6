#include "TestSupport.h"

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>

#include "AlphaChannel.h"

namespace brixel::test {

Prompter::Answer ScriptedPrompter::Ask(const std::string& title, const std::string& text,
                                       Icon icon, Buttons buttons) {
  shown.push_back({title, text, icon, buttons, {}});
  if (buttons == Buttons::Ok) return Answer::Ok;
  if (answers.empty()) return Answer::No;
  const Answer answer = answers.front();
  answers.erase(answers.begin());
  return answer;
}

Prompter::Answer ScriptedPrompter::AskWithDetails(const std::string& title,
                                                  const std::string& text,
                                                  const std::string& details, Icon icon,
                                                  Buttons buttons) {
  const Answer answer = Ask(title, text, icon, buttons);
  shown.back().details = details;
  return answer;
}

BackEndFixture::BackEndFixture() {
  InstallErrorReporter(&reporter);
  InstallPrompter(&prompter);
  KeepAlpha(true);
}

// A test that turned the alpha option off, and stopped at a failed assertion before it turned
// it on again, leaves no trace in the tests after it.
BackEndFixture::~BackEndFixture() {
  InstallErrorReporter(nullptr);
  InstallPrompter(nullptr);
  KeepAlpha(true);
}

TempDir::TempDir() {
  std::random_device rd;
  path_ = std::filesystem::temp_directory_path() /
          ("brixel-test-" + std::to_string(rd()) + std::to_string(rd()));
  std::filesystem::create_directories(path_);
}

TempDir::~TempDir() {
  std::error_code ec;
  // Tests may leave read-only files behind; make the tree removable first.
  for (auto it = std::filesystem::recursive_directory_iterator(path_, ec);
       it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
    std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
  }
  std::filesystem::remove_all(path_, ec);
}

void WriteBytes(const std::filesystem::path& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::string WriteShellScript(const std::filesystem::path& path, const std::string& body) {
  const std::string text = "#!/bin/sh\n" + body + "\n";
  WriteBytes(path, Bytes(text.begin(), text.end()));
  std::filesystem::permissions(path, std::filesystem::perms::owner_all);
  return path.string();
}

std::filesystem::path SamplesDir() {
  const std::filesystem::path dir = BRIXEL_SAMPLES_DIR;
  std::error_code ec;
  return std::filesystem::is_directory(dir, ec) ? dir : std::filesystem::path();
}

void KeepFuzzSeed(const std::string& kind, const std::string& name, const Bytes& bytes) {
  const std::filesystem::path dir = std::filesystem::path(BRIXEL_FUZZ_SEEDS_DIR) / kind;
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  if (!ec) WriteBytes(dir / name, bytes);
}

int RunCommand(const std::string& command) {
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string ShellQuote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

ProcessResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                         const std::filesystem::path& scratch) {
  std::string command = ShellQuote(program);
  for (const std::string& a : args) command += " " + ShellQuote(a);
  const std::filesystem::path errFile = scratch / "stderr.txt";
  command += " 2>" + ShellQuote(errFile.string());
  ProcessResult result;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) return result;
  std::array<char, 4096> buffer{};
  for (std::size_t n; (n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0;) {
    result.out.append(buffer.data(), n);
  }
  const int status = ::pclose(pipe);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  const Bytes err = ReadWholeFile(errFile.string());
  result.err.assign(err.begin(), err.end());
  return result;
}

}  // namespace brixel::test
