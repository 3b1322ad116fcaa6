#include "PaletteBuilding.h"

#include <algorithm>
#include <array>
#include <unordered_map>

namespace brixel {
namespace {

struct Weighted {
  Colour colour;
  std::size_t count;
};

int Part(Colour colour, int channel) {
  return channel == 0 ? RedOf(colour) : channel == 1 ? GreenOf(colour) : BlueOf(colour);
}

// A run of the weighted colours that one palette entry stands for.
struct Box {
  std::size_t begin;
  std::size_t end;
  int widest = 0;  // the channel with the largest range
  int range = 0;   // that range
};

Box Measure(const std::vector<Weighted>& colours, std::size_t begin, std::size_t end) {
  Box box{begin, end};
  for (int channel = 0; channel < 3; ++channel) {
    int low = 255;
    int high = 0;
    for (std::size_t i = begin; i < end; ++i) {
      const int part = Part(colours[i].colour, channel);
      low = std::min(low, part);
      high = std::max(high, part);
    }
    if (high - low > box.range) {
      box.range = high - low;
      box.widest = channel;
    }
  }
  return box;
}

Colour Mean(const std::vector<Weighted>& colours, const Box& box) {
  std::array<unsigned long long, 3> sums{};
  unsigned long long total = 0;
  for (std::size_t i = box.begin; i < box.end; ++i) {
    for (int channel = 0; channel < 3; ++channel) {
      sums[static_cast<std::size_t>(channel)] += static_cast<unsigned long long>(Part(colours[i].colour, channel)) * colours[i].count;
    }
    total += colours[i].count;
  }
  const auto mean = [&](int channel) {
    return static_cast<int>((sums[static_cast<std::size_t>(channel)] + total / 2) / total);
  };
  return MakeColour(mean(0), mean(1), mean(2));
}

}  // namespace

std::vector<Colour> MedianCutPalette(const std::vector<Colour>& pixels, std::size_t count) {
  std::vector<Weighted> colours;
  std::unordered_map<Colour, std::size_t> index;
  for (const Colour pixel : pixels) {
    const Colour colour = pixel & kWhite;
    const auto [found, added] = index.emplace(colour, colours.size());
    if (added) colours.push_back({colour, 0});
    ++colours[found->second].count;
  }
  if (colours.size() <= count) {
    std::vector<Colour> exact;
    for (const Weighted& w : colours) exact.push_back(w.colour);
    return exact;
  }
  std::vector<Box> boxes{Measure(colours, 0, colours.size())};
  while (boxes.size() < count) {
    // The box spread widest is split next; a box of one colour cannot be.
    const auto widest = std::max_element(boxes.begin(), boxes.end(),
                                         [](const Box& a, const Box& b) { return a.range < b.range; });
    if (widest->range == 0) break;
    const Box box = *widest;
    const auto first = colours.begin() + static_cast<std::ptrdiff_t>(box.begin);
    const auto last = colours.begin() + static_cast<std::ptrdiff_t>(box.end);
    std::sort(first, last, [channel = box.widest](const Weighted& a, const Weighted& b) {
      return Part(a.colour, channel) < Part(b.colour, channel);
    });
    // The median by pixels, kept inside so that both halves hold a colour.
    std::size_t total = 0;
    for (auto it = first; it != last; ++it) total += it->count;
    std::size_t seen = 0;
    std::size_t split = box.begin;
    while (split + 1 < box.end && seen + colours[split].count <= total / 2) seen += colours[split++].count;
    if (split == box.begin) ++split;
    *widest = Measure(colours, box.begin, split);
    boxes.push_back(Measure(colours, split, box.end));
  }
  std::vector<Colour> palette;
  for (const Box& box : boxes) palette.push_back(Mean(colours, box));
  return palette;
}

}  // namespace brixel
