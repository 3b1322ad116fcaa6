#pragma once

#include <new>
#include <stdexcept>
#include <string_view>
#include <system_error>

#include "ErrorReport.h"

namespace brixel {

// Thrown after a failure has been reported, so that the callers further up give up on the
// whole operation without reporting it a second time.
struct ReportedFailure {};

namespace detail {
template <class Body>
bool RunAndReport(std::string_view label, Body&& body) {
  try {
    body();
    return true;
  } catch (const ReportedFailure&) {
    throw;
  } catch (const BackEndError& e) {
    ReportError(e, label);
  } catch (const std::bad_alloc&) {
    ReportError(BackEndError(ErrorCode::OutOfMemory), label);
  } catch (const std::length_error&) {
    ReportError(BackEndError(ErrorCode::OutOfMemory), label);
  } catch (const std::out_of_range&) {
    ReportError(BackEndError(ErrorCode::SubscriptOutOfRange), label);
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

}  // namespace brixel
