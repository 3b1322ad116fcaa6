#include "PictureDecoderProcess.h"

#include <unistd.h>

#include <filesystem>

#include "ChildProcess.h"
#include "PictureTransfer.h"

namespace brixel {
namespace {

namespace fs = std::filesystem;

// The largest pictures take up to about 1.2 GB of address space in the program (an 8192 x 8192
// drawing rendered: Qt and its plugins mapped, the image, its conversion and the answer; a
// PNG of that size about 0.8 GB); a picture library gone astray on a hostile file stops here
// instead of taking the machine.
constexpr std::size_t kMemoryLimit = std::size_t{2} << 30;
// The longest answer: the largest picture with alpha, for each one asked for.
constexpr std::size_t kLargestPictureBytes =
    9 + std::size_t{5} * static_cast<std::size_t>(kMaxPictureSide) * static_cast<std::size_t>(kMaxPictureSide);
constexpr std::chrono::seconds kTimeLimit{30};

std::string g_chosenProgram;

fs::path ThisProgram() {
  std::error_code error;
  return fs::read_symlink("/proc/self/exe", error);
}

// The pictures of a run that ended well, or the reason it did not.
bool PicturesOfRun(std::vector<std::string> args, std::size_t count, const Bytes& data,
                   std::vector<LoadedPicture>& pictures, std::string& message) {
  ProgramRun run;
  run.Program = PictureDecoderProgramPath();
  if (run.Program.empty()) {
    message = std::string("only icons and cursors can be read without the picture decoder (") +
              kPictureDecoderProgram + " is not installed beside " + ThisProgram().filename().string() + ")";
    return false;
  }
  run.Arguments = std::move(args);
  run.TimeLimit = kTimeLimit;
  run.MemoryLimit = kMemoryLimit;
  run.OutputLimit = count * kLargestPictureBytes;
  const ProgramOutcome outcome = RunProgram(run, data);
  if (outcome.ExitedWith(1)) {
    message = std::string(outcome.Output.begin(), outcome.Output.end());
    if (message.empty()) message = "the picture decoder could not read it";
    return false;
  }
  if (!outcome.ExitedWith(0)) {
    message = "the picture decoder " + DescribeFailedRun(run, outcome);
    return false;
  }
  if (!ReadPictures(outcome.Output, pictures) || pictures.size() != count) {
    message = "the picture decoder did not answer as expected";
    return false;
  }
  return true;
}

}  // namespace

std::string PictureDecoderProgramPath() {
  if (!g_chosenProgram.empty()) return g_chosenProgram;
  const fs::path folder = ThisProgram().parent_path();
  for (const fs::path& candidate :
       {folder / kPictureDecoderProgram, folder / ".." / "lib" / "brixel" / kPictureDecoderProgram}) {
    if (::access(candidate.c_str(), X_OK) == 0) return candidate.lexically_normal().string();
  }
  return {};
}

void UsePictureDecoderProgram(std::string path) { g_chosenProgram = std::move(path); }

bool DecodeInDecoderProgram(const Bytes& data, const std::string& path, LoadedPicture& picture,
                            std::string& message) {
  std::vector<LoadedPicture> pictures;
  if (!PicturesOfRun({"decode", path}, 1, data, pictures, message)) return false;
  picture = std::move(pictures[0]);
  return true;
}

LoadedPicture LoadPictureFile(const std::string& path) { return ReadPicture(path, DecodeInDecoderProgram); }

bool RenderDrawingInDecoderProgram(const Bytes& data, const std::vector<int>& sides,
                                   std::vector<LoadedPicture>& pictures, std::string& message) {
  std::vector<std::string> args = {"render"};
  for (const int side : sides) args.push_back(std::to_string(side));
  return PicturesOfRun(std::move(args), sides.size(), data, pictures, message);
}

}  // namespace brixel
