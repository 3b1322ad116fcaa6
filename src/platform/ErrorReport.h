#pragma once

#include <exception>
#include <string>
#include <string_view>

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

// The text a failing procedure builds: number, description and procedure label.
std::string BuildErrorText(int number, std::string_view description, std::string_view label);

// Puts the program's name and version in front of the text and hands it to the reporter.
void ShowError(const std::string& text);

// What a procedure's error handler does with a trapped error.
void ReportError(int number, std::string_view description, std::string_view label);
void ReportError(const BackEndError& error, std::string_view label);

}  // namespace brixel
