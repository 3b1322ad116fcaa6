#include "AniFile.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <utility>

#include "AsciiText.h"
#include "ByteOrder.h"
#include "ErrorReport.h"
#include "IcoFile.h"
#include "Prompter.h"
#include "RowTranslation.h"

namespace brixel {
namespace {

constexpr std::size_t kChunkHeadSize = 8;
constexpr std::size_t kFirstChunk = 12;   // after "RIFF", its size and "ACON"
constexpr std::size_t kListBodyStart = 4;  // a list's sub-chunks follow its list type
constexpr std::size_t kResyncWindow = 8;

// One chunk: where its head starts, its four-character identifier and its data.
struct Chunk {
  std::size_t position = 0;
  std::string id;
  ByteView data;
};

std::string FourCharacters(ByteView bytes, std::size_t offset) {
  return std::string(reinterpret_cast<const char*>(&bytes[offset]), 4);
}

bool HasHead(std::size_t position, std::size_t end) {
  return position < end && end - position >= kChunkHeadSize;
}

// True when the chunk whose head starts at position has all its data inside bytes (the file,
// or the data of the list that holds the chunk).
bool DataFits(ByteView bytes, std::size_t position) {
  return HasHead(position, bytes.size()) &&
         GetLength(bytes, position + 4) <= bytes.size() - position - kChunkHeadSize;
}

// The chunk whose head starts at position in bytes. Data that would run past the end of
// bytes is not there: "Input past end of file".
Chunk ChunkAt(ByteView bytes, std::size_t position) {
  if (!DataFits(bytes, position)) Raise(ErrorCode::InputPastEnd);
  const std::uint32_t size = GetLength(bytes, position + 4);
  return {position, FourCharacters(bytes, position), bytes.subspan(position + kChunkHeadSize, size)};
}

// Chunks are word-aligned: one of odd size is followed by a pad byte. Always advances by at
// least the head, and cannot overflow since the data was found to lie inside the bytes.
std::size_t NextChunk(const Chunk& chunk) {
  return chunk.position + kChunkHeadSize + chunk.data.size() + (chunk.data.size() & 1);
}

bool IsTopLevelChunk(const std::string& upperId) {
  return upperId == "LIST" || upperId == "ANIH" || upperId == "RATE" || upperId == "SEQ ";
}

// Some writers get a chunk size a few bytes wrong, or leave out the pad byte after an odd
// size, so the next head is not quite where the size says. When the head found there does not
// hold, a chunk that wanted says is one (one whose data lies inside the bytes) and starts
// within a few bytes of it, but after the previous head (lowest), is taken instead.
template <class Wanted>
std::optional<std::size_t> NearbyChunk(ByteView bytes, std::size_t position, std::size_t lowest,
                                       std::size_t end, Wanted wanted) {
  for (std::size_t distance = 1; distance <= kResyncWindow; ++distance) {
    for (const bool back : {true, false}) {
      if (back && position < lowest + distance) continue;
      const std::size_t candidate = back ? position - distance : position + distance;
      if (HasHead(candidate, end) && wanted(AsciiUpper(FourCharacters(bytes, candidate))) &&
          DataFits(bytes, candidate)) {
        return candidate;
      }
    }
  }
  return std::nullopt;
}

bool IsIconChunk(const std::string& upperId) { return upperId == "ICON"; }

// A text entry: its bytes taken as 8-bit characters, with the zero bytes left out.
std::string EntryText(ByteView data) {
  std::string text;
  for (std::uint8_t byte : data) {
    if (byte != 0) text.push_back(static_cast<char>(byte));
  }
  return text;
}

void ReadInfoList(ByteView list, AniInfo& info) {
  std::size_t position = kListBodyStart;
  while (HasHead(position, list.size())) {
    const Chunk entry = ChunkAt(list, position);
    // Identifiers of the INFO list are compared in their exact case.
    if (entry.id == "IART") info.Artist = EntryText(entry.data);
    else if (entry.id == "INAM") info.Name = EntryText(entry.data);
    else if (entry.id == "ICOP") info.Copyright = EntryText(entry.data);
    position = NextChunk(entry);
  }
}

void ReadFrameList(ByteView list, AniInfo& info, std::vector<IconImage>& images, ReadBudget& budget) {
  std::size_t position = kListBodyStart;
  std::size_t lowest = kListBodyStart;
  std::size_t frames = 0;
  while (HasHead(position, list.size())) {
    if (!IsIconChunk(AsciiUpper(FourCharacters(list, position))) || !DataFits(list, position)) {
      // As at the top level: a frame a few bytes from where the previous size says (an odd
      // size without its pad byte) is the next frame.
      const std::optional<std::size_t> nearby = NearbyChunk(list, position, lowest, list.size(), IsIconChunk);
      if (!nearby) {
        const std::int32_t claimed = info.Header.FrameCount;
        ShowMessage(kApplicationTitle,
                    "The frame list of this animated cursor ends early: " + std::to_string(frames) +
                        (frames == 1 ? " frame was" : " frames were") + " read" +
                        (claimed > 0 && static_cast<std::size_t>(claimed) > frames
                             ? " of the " + std::to_string(claimed) + " its header gives"
                             : std::string()));
        break;
      }
      position = *nearby;
    }
    const Chunk frame = ChunkAt(list, position);
    const std::size_t before = images.size();
    AppendFrameImages(frame.data, images, budget);
    info.FrameImages.push_back(static_cast<std::int32_t>(images.size() - before));
    ++frames;
    lowest = position + kChunkHeadSize;
    position = NextChunk(frame);
  }
}

void ReadList(ByteView file, std::uint32_t position, AniInfo& info, std::vector<IconImage>& images,
              ReadBudget& budget) {
  if (position == 0) return;
  const Chunk list = ChunkAt(file, position);
  if (list.data.size() < kListBodyStart) return;  // no room for a list type
  const std::string type = AsciiUpper(FourCharacters(list.data, 0));
  if (type == "INFO") ReadInfoList(list.data, info);
  else if (type == "FRAM") ReadFrameList(list.data, info, images, budget);
}

std::int32_t ValueAt(ByteView data, std::size_t offset) {
  if (offset > data.size() || data.size() - offset < 4) return 0;
  return static_cast<std::int32_t>(GetLength(data, offset));
}

AniHeader ReadHeader(ByteView data) {
  AniHeader h;
  std::int32_t* fields[] = {&h.HeaderSize, &h.FrameCount, &h.StepCount, &h.Width,
                            &h.Height,     &h.BitCount,   &h.Planes,    &h.DisplayRate};
  for (std::size_t i = 0; i < std::size(fields); ++i) *fields[i] = ValueAt(data, 4 * i);
  h.Flags = ValueAt(data, 4 * std::size(fields));
  return h;
}

// One value per step, as far as the chunk holds them: the step count is only a claim.
std::vector<std::int32_t> ReadStepList(ByteView data, std::int32_t steps) {
  const std::size_t count = std::min<std::size_t>(steps < 0 ? 0 : static_cast<std::size_t>(steps),
                                                  data.size() / 4);
  std::vector<std::int32_t> values(count);
  for (std::size_t i = 0; i < count; ++i) values[i] = ValueAt(data, 4 * i);
  return values;
}

// The single image of a frame can be read in place when its block sits where a one-image
// icon file puts it.
bool SingleBlockInPlace(ByteView frame) {
  return frame.size() >= kSingleImageBlockOffset && GetLength(frame, 18) == kSingleImageBlockOffset;
}

void AppendChars(Bytes& bytes, const char* id) { bytes.insert(bytes.end(), id, id + 4); }

// A chunk of this identifier and data, with the pad byte after data of odd size.
void AppendChunk(Bytes& bytes, const char* id, ByteView data) {
  if (data.size() > UINT32_MAX - kChunkHeadSize) Raise(ErrorCode::Overflow);
  AppendChars(bytes, id);
  AppendLength(bytes, static_cast<std::uint32_t>(data.size()));
  bytes.insert(bytes.end(), data.begin(), data.end());
  if (data.size() & 1) bytes.push_back(0);
}

Bytes ValueList(const std::vector<std::int32_t>& values) {
  Bytes data;
  for (std::int32_t value : values) AppendLength(data, static_cast<std::uint32_t>(value));
  return data;
}

// Whether the file's grouping of images into frames accounts for exactly these images.
bool GroupingHolds(const AniInfo& info, std::size_t imageCount) {
  std::size_t total = 0;
  for (std::int32_t n : info.FrameImages) total += static_cast<std::size_t>(n < 0 ? 0 : n);
  return total == imageCount;
}

// Frame index of the file -> index among the frames that gave images (-1 for none).
std::vector<std::int32_t> KeptFrameIndices(const AniInfo& info, std::size_t imageCount) {
  std::vector<std::int32_t> kept;
  if (!GroupingHolds(info, imageCount)) {
    for (std::size_t i = 0; i < imageCount; ++i) kept.push_back(static_cast<std::int32_t>(i));
    return kept;
  }
  std::int32_t next = 0;
  for (std::int32_t n : info.FrameImages) kept.push_back(n > 0 ? next++ : -1);
  return kept;
}

}  // namespace

std::vector<std::size_t> AniFrameSizes(const AniInfo& info, std::size_t imageCount) {
  std::vector<std::size_t> sizes;
  if (GroupingHolds(info, imageCount)) {
    for (std::int32_t n : info.FrameImages) {
      if (n > 0) sizes.push_back(static_cast<std::size_t>(n));
    }
  } else {
    sizes.assign(imageCount, 1);
  }
  return sizes;
}

std::vector<std::size_t> AniFrameStarts(const AniInfo& info, std::size_t imageCount) {
  std::vector<std::size_t> starts{0};
  for (const std::size_t size : AniFrameSizes(info, imageCount)) starts.push_back(starts.back() + size);
  return starts;
}

std::vector<AniStep> AniSteps(const AniInfo& info, std::size_t imageCount) {
  const std::vector<std::int32_t> kept = KeptFrameIndices(info, imageCount);
  auto rateOf = [&](std::size_t step) {
    return step < info.Rates.size() ? info.Rates[step] : info.Header.DisplayRate;
  };
  std::vector<AniStep> steps;
  if ((info.Header.Flags & kAniSequenceFlag) != 0) {
    for (std::size_t step = 0; step < info.Sequence.size(); ++step) {
      const std::int32_t frame = info.Sequence[step];
      if (frame < 0 || static_cast<std::size_t>(frame) >= kept.size() || kept[static_cast<std::size_t>(frame)] < 0) {
        continue;
      }
      steps.push_back({kept[static_cast<std::size_t>(frame)], rateOf(step)});
    }
  }
  if (steps.empty()) {
    // Without a sequence each frame of the file is a step, with the rate of its position.
    for (std::size_t frame = 0; frame < kept.size(); ++frame) {
      if (kept[frame] >= 0) steps.push_back({kept[frame], rateOf(frame)});
    }
  }
  return steps;
}

Bytes BuildAniFile(const std::vector<IconImage>& images, const AniInfo& info) {
  if (images.empty()) Raise(ErrorCode::InvalidArgument);
  const std::vector<std::size_t> sizes = AniFrameSizes(info, images.size());
  const std::vector<AniStep> steps = AniSteps(info, images.size());
  bool inOrder = steps.size() == sizes.size();
  bool defaultRates = true;
  for (std::size_t i = 0; i < steps.size(); ++i) {
    inOrder = inOrder && steps[i].Frame == static_cast<std::int32_t>(i);
    defaultRates = defaultRates && steps[i].Rate == info.Header.DisplayRate;
  }

  Bytes body;
  AppendChars(body, "ACON");
  const std::int32_t flags = kAniIconFlag | (inOrder ? 0 : kAniSequenceFlag);
  AppendChunk(body, "anih",
              ValueList({kAniHeaderSize, static_cast<std::int32_t>(sizes.size()),
                         static_cast<std::int32_t>(steps.size()), 0, 0, 0, 0, info.Header.DisplayRate,
                         flags}));
  if (!info.Name.empty() || !info.Artist.empty() || !info.Copyright.empty()) {
    Bytes list;
    AppendChars(list, "INFO");
    for (const auto& [id, text] : {std::pair<const char*, const std::string&>{"INAM", info.Name},
                                   {"IART", info.Artist},
                                   {"ICOP", info.Copyright}}) {
      if (text.empty()) continue;
      Bytes data(text.begin(), text.end());
      data.push_back(0);
      AppendChunk(list, id, data);
    }
    AppendChunk(body, "LIST", list);
  }
  if (!defaultRates) {
    std::vector<std::int32_t> rates;
    for (const AniStep& step : steps) rates.push_back(step.Rate);
    AppendChunk(body, "rate", ValueList(rates));
  }
  if (!inOrder) {
    std::vector<std::int32_t> sequence;
    for (const AniStep& step : steps) sequence.push_back(step.Frame);
    AppendChunk(body, "seq ", ValueList(sequence));
  }
  Bytes frames;
  AppendChars(frames, "fram");
  std::size_t first = 0;
  for (std::size_t size : sizes) {
    const std::vector<IconImage> frame(images.begin() + static_cast<std::ptrdiff_t>(first),
                                       images.begin() + static_cast<std::ptrdiff_t>(first + size));
    AppendChunk(frames, "icon", BuildIconFile(frame, 2));
    first += size;
  }
  AppendChunk(body, "LIST", frames);

  Bytes file;
  AppendChunk(file, "RIFF", body);
  return file;
}

std::array<std::int32_t, 9> AniHeader::Values() const {
  return {HeaderSize, FrameCount, StepCount, Width, Height, BitCount, Planes, DisplayRate, Flags};
}

bool IsAnimatedCursorFile(ByteView file) {
  return file.size() >= kFirstChunk && AsciiUpper(FourCharacters(file, 0)) == "RIFF" &&
         AsciiUpper(FourCharacters(file, 8)) == "ACON";
}

AniInfo ReadAniFile(ByteView file, std::vector<IconImage>& images) {
  if (!IsAnimatedCursorFile(file)) Raise(ErrorCode::InvalidArgument);
  AniInfo info;
  const std::uint32_t riffSize = GetLength(file, 4);
  info.Positions.RiffSize = riffSize;

  // The RIFF size bounds the scan, and so does the end of the file: a size that claims more
  // than the file holds is not trusted.
  const std::size_t scanEnd =
      std::min<std::size_t>(file.size(), std::size_t{riffSize} + kChunkHeadSize);
  bool listSeen = false;
  std::size_t lowest = kFirstChunk;
  for (std::size_t position = kFirstChunk; HasHead(position, scanEnd);) {
    if (!DataFits(file, position)) {
      const std::optional<std::size_t> nearby = NearbyChunk(file, position, lowest, scanEnd, IsTopLevelChunk);
      if (!nearby) Raise(ErrorCode::InputPastEnd);
      position = *nearby;
    }
    const Chunk chunk = ChunkAt(file, position);
    // Below scanEnd, which is at most the RIFF size + 8, so a 32-bit value.
    const auto at = static_cast<std::uint32_t>(position);
    const std::string id = AsciiUpper(chunk.id);
    if (id == "LIST") {
      (listSeen ? info.Positions.SecondList : info.Positions.FirstList) = at;
      listSeen = true;
    } else if (id == "ANIH") {
      info.Positions.Anih = at;
    } else if (id == "RATE") {
      info.Positions.Rate = at;
    } else if (id == "SEQ ") {
      info.Positions.Seq = at;
    }
    // Every chunk starts after the previous one's head, so the scan always moves on.
    lowest = position + kChunkHeadSize;
    position = NextChunk(chunk);
  }

  // The header first, so that a frame list that ends early can say what it promised.
  if (info.Positions.Anih != 0) {
    info.Header = ReadHeader(ChunkAt(file, info.Positions.Anih).data);
  }
  ReadBudget budget{file.size(), kPngPixelBudget};
  ReadList(file, info.Positions.FirstList, info, images, budget);
  ReadList(file, info.Positions.SecondList, info, images, budget);
  if (info.Positions.Seq != 0) {
    info.Sequence = ReadStepList(ChunkAt(file, info.Positions.Seq).data,
                                 info.Header.StepCount);
  }
  if (info.Positions.Rate != 0) {
    info.Rates = ReadStepList(ChunkAt(file, info.Positions.Rate).data,
                              info.Header.StepCount);
  }
  return info;
}

void AppendFrameImages(ByteView frame, std::vector<IconImage>& images, ReadBudget& budget) {
  if (frame.size() < kFileHeaderSize) Raise(ErrorCode::InputPastEnd);
  const int count = frame[4];
  std::vector<IconImage> read;
  // A count of 0 is read as one image in place, as a one-image file would hold it.
  if (count == 0 || (count == 1 && SingleBlockInPlace(frame))) {
    IconImage image;
    TranslateIcon(frame, image, 1, &budget);
    read.push_back(std::move(image));
  } else {
    ReadIconEntries(frame, read, &budget);
  }
  // Every image of the frame is kept, its 1-bit one among them: a frame is saved as it was.
  for (IconImage& image : read) {
    // Image indices are 16-bit throughout the editor.
    if (images.size() >= static_cast<std::size_t>(INT16_MAX)) Raise(ErrorCode::Overflow);
    images.push_back(std::move(image));
  }
}

}  // namespace brixel
