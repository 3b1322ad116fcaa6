#pragma once

#include <array>

namespace brixel {

// A line of a size or depth list and the value it stands for.
struct TargetChoice {
  const char* text;
  int value;
};

// The sizes and depths Copy and Import offer for the image they make, in their lists' order.
inline constexpr std::array<TargetChoice, 7> kTargetSizes = {{{"16 x 16", 16},
                                                              {"24 x 24", 24},
                                                              {"32 x 32", 32},
                                                              {"48 x 48", 48},
                                                              {"64 x 64", 64},
                                                              {"128 x 128", 128},
                                                              {"256 x 256", 256}}};
inline constexpr std::array<TargetChoice, 5> kTargetDepths = {
    {{"True Color", 24}, {"256 Color", 8}, {"16 Color", 4}, {"2 Color", 1}, {"32 Bit Color", 32}}};

}  // namespace brixel
