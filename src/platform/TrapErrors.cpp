#include "TrapErrors.h"

namespace brixel {

std::optional<BackEndError> CurrentExceptionError() {
  try {
    throw;
  } catch (const ReportedFailure&) {
    return std::nullopt;
  } catch (const BackEndError& e) {
    return e;
  } catch (const std::bad_alloc&) {
    return BackEndError(ErrorCode::OutOfMemory);
  } catch (const std::length_error&) {
    return BackEndError(ErrorCode::OutOfMemory);
  } catch (const std::out_of_range&) {
    return BackEndError(ErrorCode::SubscriptOutOfRange);
  } catch (const std::exception& e) {
    const int number = static_cast<int>(ErrorCode::InternalError);
    return BackEndError(number, ErrorDescription(number) + ": " + e.what());
  }
}

std::string CurrentExceptionText(std::string_view label) {
  const std::optional<BackEndError> error = CurrentExceptionError();
  return error ? BuildErrorText(error->Number(), error->Description(), label) : std::string();
}

void ReportCurrentException(std::string_view label) {
  if (const std::optional<BackEndError> error = CurrentExceptionError()) ReportError(*error, label);
}

}  // namespace brixel
