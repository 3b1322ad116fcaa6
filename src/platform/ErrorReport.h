#pragma once

#include <exception>
#include <string>
#include <string_view>
#include <vector>

namespace brixel {

// The classic runtime error numbers that reports carry.
enum class ErrorCode : int {
  InvalidArgument = 5,
  Overflow = 6,
  OutOfMemory = 7,
  SubscriptOutOfRange = 9,
  InternalError = 51,
  BadFileName = 52,
  FileNotFound = 53,
  DeviceIO = 57,
  InputPastEnd = 62,
  PermissionDenied = 70,
  PathFileAccess = 75,
  PathNotFound = 76,
  InvalidPicture = 481,
};

// The standard description of an error number ("Overflow", "Input past end of file", ...).
std::string ErrorDescription(int number);

// A failure raised inside a back-end procedure and trapped by its handler.
class BackEndError : public std::exception {
 public:
  explicit BackEndError(ErrorCode code);
  BackEndError(int number, std::string description);
  int Number() const { return number_; }
  const std::string& Description() const { return description_; }
  const char* what() const noexcept override { return description_.c_str(); }

 private:
  int number_;
  std::string description_;
};

[[noreturn]] void Raise(ErrorCode code);

// Receives finished reports. The GUI shows them in the error form, the command line prints
// them, tests record them.
class ErrorReporter {
 public:
  virtual ~ErrorReporter() = default;
  virtual void Show(const std::string& report) = 0;
};

// Who is reporting: the program's file name without extension and its version.
struct ProgramIdentity {
  std::string fileName = "brixel";
  int major = 0;
  int minor = 0;
  int revision = 0;
};

void SetProgramIdentity(ProgramIdentity identity);
const ProgramIdentity& CurrentProgramIdentity();

// Installs the reporter that ShowError hands reports to; nullptr restores the default, which
// writes to standard error. The caller keeps ownership.
void InstallErrorReporter(ErrorReporter* reporter);

// Installs a reporter for the calling thread only, in front of the installed one (nullptr
// removes it); returns the one it replaces. For work on other threads whose reports must be
// told in an order of their own.
ErrorReporter* InstallThreadReporter(ErrorReporter* reporter);
// Hands a report as such a reporter received it (program and version already in front) to
// the reporter of the calling thread.
void ShowFinishedReport(const std::string& report);

// The text a failing procedure builds: number, description and procedure label.
std::string BuildErrorText(int number, std::string_view description, std::string_view label);

// Puts the program's name and version in front of the text and hands it to the reporter.
void ShowError(const std::string& text);

// What a procedure's error handler does with a trapped error.
void ReportError(int number, std::string_view description, std::string_view label);
void ReportError(const BackEndError& error, std::string_view label);

// While one of these lives, reports are kept in it instead of reaching the reporter: for a
// command that tells an ordinary failure (a file that is not an icon, a full disk) in plain
// words and keeps the report as its details. Collectors nest; the innermost one collects.
class ReportCollector {
 public:
  struct Report {
    int number = 0;           // 0 for a report made without one
    std::string description;  // the failure in words; the whole text for a report without a number
    std::string text;         // the report as the reporter would have shown it
  };

  ReportCollector();
  ~ReportCollector();
  ReportCollector(const ReportCollector&) = delete;
  ReportCollector& operator=(const ReportCollector&) = delete;

  const std::vector<Report>& Reports() const { return reports_; }
  // Every report's text, one after the other: the details of a plain message.
  std::string Details() const;

 private:
  friend void ShowError(const std::string& text);
  friend void ReportError(int number, std::string_view description, std::string_view label);
  std::vector<Report> reports_;
  ReportCollector* outer_;
};

}  // namespace brixel
