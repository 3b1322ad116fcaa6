#include "ProgramResources.h"


#include "ByteOrder.h"
#include "ErrorReport.h"
#include "ResourceTables.h"

namespace brixel {
namespace resources {

void Refuse(const std::string& why) { throw BackEndError(static_cast<int>(ErrorCode::InvalidPicture), why); }

std::uint16_t Word(ByteView bytes, std::size_t offset, const char* what) {
  if (!Inside(offset, 2, bytes.size())) Refuse(std::string(what) + " lies outside the file");
  return static_cast<std::uint16_t>(bytes[offset] | bytes[offset + 1] << 8);
}

std::uint32_t Long(ByteView bytes, std::size_t offset, const char* what) {
  if (!Inside(offset, 4, bytes.size())) Refuse(std::string(what) + " lies outside the file");
  return GetLength(bytes, offset);
}

void ResourceBudget::Charge(std::size_t nameLength) {
  // What an entry takes in memory beside its name, with its place in the lists of groups and images.
  constexpr std::size_t kEntryCost = 192;
  const std::size_t cost = kEntryCost + nameLength;
  if (cost > left_) Refuse("the resource directory lists more than a file of this size can hold");
  left_ -= cost;
}

}  // namespace resources

namespace {

constexpr std::size_t kNewHeaderPointer = 0x3c;

// Where the MS-DOS header says the Windows header starts, when it lies inside the file.
bool HeaderOffset(ByteView file, std::size_t& offset) {
  if (!StartsAsExecutable(file) || file.size() < kNewHeaderPointer + 4) return false;
  offset = resources::Long(file, kNewHeaderPointer, "the program header");
  return resources::Inside(offset, 4, file.size());
}

bool IsPe(ByteView file, std::size_t at) {
  return file[at] == 'P' && file[at + 1] == 'E' && file[at + 2] == 0 && file[at + 3] == 0;
}

bool IsNe(ByteView file, std::size_t at) { return file[at] == 'N' && file[at + 1] == 'E'; }

}  // namespace

bool StartsAsExecutable(ByteView file) { return file.size() >= 2 && file[0] == 'M' && file[1] == 'Z'; }

bool IsExecutableFile(const std::string& path) { return StartsAsExecutable(ReadFileStart(path, 2)); }

bool IsProgramFile(ByteView file) {
  std::size_t at = 0;
  return HeaderOffset(file, at) && (IsPe(file, at) || IsNe(file, at));
}

ProgramResources ReadProgramResources(ByteView file) {
  std::size_t at = 0;
  if (!HeaderOffset(file, at)) {
    resources::Refuse(StartsAsExecutable(file) ? "an MS-DOS program, with no Windows resources"
                                               : "not a Windows program or library");
  }
  if (IsPe(file, at)) return resources::ReadPeResources(file, at);
  if (IsNe(file, at)) return resources::ReadNeResources(file, at);
  resources::Refuse("an MS-DOS program, with no Windows resources");
}

}  // namespace brixel
