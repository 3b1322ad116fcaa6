#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "ErrorReport.h"
#include "FileIO.h"
#include "Prompter.h"

namespace brixel::test {

// Records every error report instead of showing it.
class RecordingReporter : public ErrorReporter {
 public:
  void Show(const std::string& report) override { reports.push_back(report); }
  std::vector<std::string> reports;
};

// Records every message box and answers questions from a script (No when it runs out).
class ScriptedPrompter : public Prompter {
 public:
  struct Shown {
    std::string title;
    std::string text;
    Icon icon;
    Buttons buttons;
    std::string details;
  };
  Answer Ask(const std::string& title, const std::string& text, Icon icon,
             Buttons buttons) override;
  Answer AskWithDetails(const std::string& title, const std::string& text,
                        const std::string& details, Icon icon, Buttons buttons) override;
  std::vector<Shown> shown;
  std::vector<Answer> answers;
};

// Installs a recorder and a scripted prompter for the lifetime of a test, then restores the
// defaults.
class BackEndFixture {
 public:
  BackEndFixture();
  ~BackEndFixture();
  RecordingReporter reporter;
  ScriptedPrompter prompter;
};

// A fresh folder under the system's temporary folder, removed afterwards.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

void WriteBytes(const std::filesystem::path& path, const Bytes& bytes);

// An executable shell script with body after its #! line, at path; returns path's text.
std::string WriteShellScript(const std::filesystem::path& path, const std::string& body);

// The folder of sample files written by other programs, or empty when there is none.
std::filesystem::path SamplesDir();

// Keeps a copy of bytes as a seed for the fuzz target named kind ("ico", "ani").
void KeepFuzzSeed(const std::string& kind, const std::string& name, const Bytes& bytes);

// Runs a shell command; returns its exit status.
int RunCommand(const std::string& command);

// A text quoted for the shell.
std::string ShellQuote(const std::string& text);

// What a program printed and how it ended.
struct ProcessResult {
  int status = -1;
  std::string out;
  std::string err;
};

// Runs program with arguments, capturing both output streams; scratch is a folder for the
// captured standard error.
ProcessResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                         const std::filesystem::path& scratch);

}  // namespace brixel::test
