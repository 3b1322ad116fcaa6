#pragma once

namespace brixel {

// Where users write about failures and questions; shown by the error form and the about box.
inline constexpr const char* kContactAddress = "support@brixel.invalid";

}  // namespace brixel
