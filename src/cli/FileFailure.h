#pragma once

#include <new>
#include <ostream>
#include <string>
#include <vector>

#include "ErrorReport.h"
#include "TrapErrors.h"

namespace brixel::cli {

// Runs body, which reads or writes the file at path. A failure it raises is told on err against
// the path (as "cannot be <doing>" when the back end has reported it already) and gives false.
template <class Body>
bool RunOnFile(const std::string& path, const char* doing, std::ostream& err, Body&& body) {
  try {
    body();
    return true;
  } catch (const BackEndError& e) {
    err << "brixel-cli: " << path << ": " << e.Description() << '\n';
  } catch (const ReportedFailure&) {
    err << "brixel-cli: " << path << ": cannot be " << doing << '\n';
  } catch (const std::bad_alloc&) {
    err << "brixel-cli: " << path << ": not enough memory\n";
  }
  return false;
}

// What was left out of the picture read from path, a line each.
inline void TellWarnings(const std::string& path, const std::vector<std::string>& warnings, std::ostream& err) {
  for (const std::string& warning : warnings) err << "brixel-cli: " << path << ": " << warning << '\n';
}

}  // namespace brixel::cli
