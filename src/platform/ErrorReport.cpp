#include "ErrorReport.h"

#include <iostream>
#include <utility>

#include "Version.h"

namespace brixel {
namespace {

constexpr const char* kCrLf = "\r\n";

class StandardErrorReporter final : public ErrorReporter {
 public:
  void Show(const std::string& report) override { std::cerr << report << '\n'; }
};

StandardErrorReporter g_defaultReporter;
ErrorReporter* g_reporter = &g_defaultReporter;
ProgramIdentity g_identity{"brixel", kVersionMajor, kVersionMinor, kVersionRevision};
// Per thread: a collector, or a reporter of the thread's own, comes before the installed one.
thread_local ReportCollector* g_collector = nullptr;
thread_local ErrorReporter* g_threadReporter = nullptr;

ErrorReporter& Reporter() { return g_threadReporter ? *g_threadReporter : *g_reporter; }

std::string WithIdentity(const std::string& text) {
  const ProgramIdentity& id = g_identity;
  return id.fileName + " : " + "Version - " + std::to_string(id.major) + "." +
         std::to_string(id.minor) + kCrLf + "Build " + std::to_string(id.revision) + kCrLf + text;
}

}  // namespace

std::string ErrorDescription(int number) {
  switch (number) {
    case 5: return "Invalid procedure call or argument";
    case 6: return "Overflow";
    case 7: return "Out of memory";
    case 9: return "Subscript out of range";
    case 51: return "Internal error";
    case 52: return "Bad file name or number";
    case 53: return "File not found";
    case 57: return "Device I/O error";
    case 62: return "Input past end of file";
    case 70: return "Permission denied";
    case 75: return "Path/File access error";
    case 76: return "Path not found";
    case 481: return "Invalid picture";
    default: return "Application-defined or object-defined error";
  }
}

BackEndError::BackEndError(ErrorCode code)
    : number_(static_cast<int>(code)), description_(ErrorDescription(number_)) {}

BackEndError::BackEndError(int number, std::string description)
    : number_(number), description_(std::move(description)) {}

void Raise(ErrorCode code) { throw BackEndError(code); }

void SetProgramIdentity(ProgramIdentity identity) { g_identity = std::move(identity); }

const ProgramIdentity& CurrentProgramIdentity() { return g_identity; }

void InstallErrorReporter(ErrorReporter* reporter) {
  g_reporter = reporter ? reporter : &g_defaultReporter;
}

std::string BuildErrorText(int number, std::string_view description, std::string_view label) {
  std::string text = "Error Number: " + std::to_string(number) + kCrLf;
  text += description;
  text += kCrLf;
  text += kCrLf;
  text += "Debug Information:";
  text += kCrLf;
  text += label;
  return text;
}

void ShowError(const std::string& text) {
  if (g_collector) {
    g_collector->reports_.push_back({0, text, WithIdentity(text)});
    return;
  }
  Reporter().Show(WithIdentity(text));
}

void ReportError(int number, std::string_view description, std::string_view label) {
  const std::string text = BuildErrorText(number, description, label);
  if (g_collector) {
    g_collector->reports_.push_back({number, std::string(description), WithIdentity(text)});
    return;
  }
  Reporter().Show(WithIdentity(text));
}

ErrorReporter* InstallThreadReporter(ErrorReporter* reporter) {
  return std::exchange(g_threadReporter, reporter);
}

void ShowFinishedReport(const std::string& report) { Reporter().Show(report); }

ReportCollector::ReportCollector() : outer_(g_collector) { g_collector = this; }

ReportCollector::~ReportCollector() { g_collector = outer_; }

std::string ReportCollector::Details() const {
  std::string details;
  for (const Report& report : reports_) {
    if (!details.empty()) details += "\n\n";
    details += report.text;
  }
  return details;
}

void ReportError(const BackEndError& error, std::string_view label) {
  ReportError(error.Number(), error.Description(), label);
}

}  // namespace brixel
