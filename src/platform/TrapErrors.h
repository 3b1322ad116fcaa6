#pragma once

#include <new>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>

#include "ErrorReport.h"

namespace brixel {

// Thrown after a failure has been reported, so that the callers further up give up on the
// whole operation without reporting it a second time.
struct ReportedFailure {};

// The report text of the exception in flight (call it in a catch block) under label, as a
// trapped error's: a BackEndError as raised, a failed allocation as Out of memory, a
// subscript out of range as such, any other std::exception as Internal error with its text.
// Empty for a ReportedFailure, which has been reported already. Other exceptions go on.
std::string CurrentExceptionText(std::string_view label);
// The same failure as the error it is reported as (nothing for a ReportedFailure).
std::optional<BackEndError> CurrentExceptionError();
// Reports the exception in flight under label, as CurrentExceptionText words it.
void ReportCurrentException(std::string_view label);

namespace detail {
template <class Body>
bool RunAndReport(std::string_view label, Body&& body) {
  try {
    body();
    return true;
  } catch (const ReportedFailure&) {
    throw;
  } catch (const BackEndError&) {
    ReportCurrentException(label);
  } catch (const std::bad_alloc&) {
    ReportCurrentException(label);
  } catch (const std::length_error&) {
    ReportCurrentException(label);
  } catch (const std::out_of_range&) {
    ReportCurrentException(label);
  }
  return false;
}
}  // namespace detail

// Runs body as a reporting procedure does: any failure inside it is reported under label and
// swallowed. Returns true when the body finished without a failure.
template <class Body>
bool Trap(std::string_view label, Body&& body) {
  try {
    return detail::RunAndReport(label, body);
  } catch (const ReportedFailure&) {
    return false;
  }
}

// Runs body like Trap, but a failure, once reported under label, goes on up as
// ReportedFailure: for steps whose failure must end the operation that called them.
template <class Body>
void TrapAndPropagate(std::string_view label, Body&& body) {
  if (!detail::RunAndReport(label, body)) throw ReportedFailure{};
}

// Runs body at an edge that no exception may pass (the start before the event loop runs):
// like Trap, and any other std::exception is reported too, as Internal error.
template <class Body>
bool TrapEverything(std::string_view label, Body&& body) {
  try {
    body();
    return true;
  } catch (const ReportedFailure&) {
  } catch (const std::exception&) {
    ReportCurrentException(label);
  }
  return false;
}

}  // namespace brixel
