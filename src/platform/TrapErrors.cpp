#include "TrapErrors.h"

namespace brixel {

std::string CurrentExceptionText(std::string_view label) {
  const auto text = [label](ErrorCode code) {
    return BuildErrorText(static_cast<int>(code), ErrorDescription(static_cast<int>(code)), label);
  };
  try {
    throw;
  } catch (const ReportedFailure&) {
    return {};
  } catch (const BackEndError& e) {
    return BuildErrorText(e.Number(), e.Description(), label);
  } catch (const std::bad_alloc&) {
    return text(ErrorCode::OutOfMemory);
  } catch (const std::length_error&) {
    return text(ErrorCode::OutOfMemory);
  } catch (const std::out_of_range&) {
    return text(ErrorCode::SubscriptOutOfRange);
  } catch (const std::exception& e) {
    return BuildErrorText(static_cast<int>(ErrorCode::InternalError),
                          ErrorDescription(static_cast<int>(ErrorCode::InternalError)) + ": " + e.what(), label);
  }
}

}  // namespace brixel
