#include "PictureDecoderProcess.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string_view>

#include "AsciiText.h"
#include "ChildProcess.h"
#include "PictureTransfer.h"

namespace brixel {
namespace {

namespace fs = std::filesystem;

// The largest pictures take up to about 1.2 GB of address space in the program (an 8192 x 8192
// drawing rendered: Qt and its plugins mapped, the image, its conversion and the answer; a
// PNG of that size about 0.8 GB); a picture library gone astray on a hostile file stops here
// instead of taking the machine.
constexpr std::size_t kMemoryLimitMegabytes = 2048;
// The longest answer: the largest picture with alpha, for each one asked for.
constexpr std::size_t kLargestPictureBytes =
    9 + std::size_t{5} * static_cast<std::size_t>(kMaxPictureSide) * static_cast<std::size_t>(kMaxPictureSide);
// The largest pictures decode in a few seconds; a drawing made to take minutes is stopped.
constexpr int kTimeLimitSeconds = 30;
constexpr int kCpuLimitSeconds = 20;

std::string g_chosenProgram;

fs::path ThisProgram() {
  std::error_code error;
  return fs::read_symlink("/proc/self/exe", error);
}

// A limit as the environment sets it for tests, else its fallback.
std::size_t LimitFromEnvironment(const char* name, std::size_t fallback) {
  const char* text = std::getenv(name);
  const std::optional<int> value = text ? WholeNumber(text) : std::nullopt;
  return value && *value > 0 ? static_cast<std::size_t>(*value) : fallback;
}

ProgramRun DecoderRun(std::vector<std::string> args, std::size_t count) {
  ProgramRun run;
  run.Program = PictureDecoderProgramPath();
  run.Arguments = std::move(args);
  run.TimeLimit = std::chrono::seconds(LimitFromEnvironment("BRIXEL_DECODER_SECONDS", kTimeLimitSeconds));
  run.CpuLimit = std::chrono::seconds(LimitFromEnvironment("BRIXEL_DECODER_CPU_SECONDS", kCpuLimitSeconds));
  run.MemoryLimit = LimitFromEnvironment("BRIXEL_DECODER_MEGABYTES", kMemoryLimitMegabytes) << 20;
  run.OutputLimit = 8 + count * kLargestPictureBytes;  // a drawing's size first
  return run;
}

// The program's warnings in its log, without their mark.
std::vector<std::string> WarningsInLog(const std::string& log) {
  std::vector<std::string> warnings;
  for (const std::string& line : SplitLines(log)) {
    if (line.starts_with(kDecoderWarning)) warnings.push_back(line.substr(kDecoderWarning.size()));
  }
  return warnings;
}

// Why a run gave no answer, as the user is told it.
std::string FailureReason(const ProgramRun& run, const ProgramOutcome& outcome) {
  if (outcome.ExitedWith(1)) {
    const std::string message(outcome.Output.begin(), outcome.Output.end());
    return message.empty() ? "the picture decoder could not read it" : message;
  }
  if (outcome.ExitedWith(kDecoderOutOfMemory)) return "the picture needs more memory than allowed";
  if (outcome.How == ProgramOutcome::Ending::TimedOut || outcome.How == ProgramOutcome::Ending::OutOfCpuTime) {
    return "the picture took too long to decode";
  }
  return "the picture decoder " + DescribeFailedRun(run, outcome);
}

// The answer of a run that ended well and its warnings, or the reason it did not.
bool RunDecoder(std::vector<std::string> args, std::size_t count, const Bytes& data, Bytes& answer,
                std::vector<std::string>& warnings, std::string& message) {
  const ProgramRun run = DecoderRun(std::move(args), count);
  if (run.Program.empty()) {
    message = std::string("only icons and cursors can be read without the picture decoder (") +
              kPictureDecoderProgram + " is not installed beside " + ThisProgram().filename().string() + ")";
    return false;
  }
  ProgramOutcome outcome = RunProgram(run, data);
  if (!outcome.ExitedWith(0)) {
    message = FailureReason(run, outcome);
    return false;
  }
  warnings = WarningsInLog(outcome.Log);
  answer = std::move(outcome.Output);
  return true;
}

const char* const kUnexpectedAnswer = "the picture decoder did not answer as expected";

// The drawing a run of the program renders: its size and a picture for each argument after
// the command.
bool DrawingOfRun(std::vector<std::string> args, const Bytes& data, RenderedDrawing& drawing, std::string& message) {
  const std::size_t sides = args.size() - 1;
  drawing = RenderedDrawing();
  Bytes answer;
  if (!RunDecoder(std::move(args), sides, data, answer, drawing.Warnings, message)) return false;
  if (!ReadDrawingAnswer(answer, drawing.Width, drawing.Height, drawing.Pictures) ||
      drawing.Pictures.size() != sides) {
    return message = kUnexpectedAnswer, false;
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
  Bytes answer;
  std::vector<std::string> warnings;
  if (!RunDecoder({"decode", path}, 1, data, answer, warnings, message)) return false;
  std::vector<LoadedPicture> pictures;
  if (!ReadPictures(answer, pictures) || pictures.size() != 1) return message = kUnexpectedAnswer, false;
  picture = std::move(pictures[0]);
  picture.Warnings = std::move(warnings);
  return true;
}

LoadedPicture LoadPictureFile(const std::string& path) { return ReadPicture(path, DecodeInDecoderProgram); }

bool RenderDrawingInDecoderProgram(const Bytes& data, const std::vector<int>& sides, RenderedDrawing& drawing,
                                   std::string& message) {
  std::vector<std::string> args = {"render"};
  for (const int side : sides) args.push_back(std::to_string(side));
  return DrawingOfRun(std::move(args), data, drawing, message);
}

bool RenderDrawingCornerInDecoderProgram(const Bytes& data, int side, RenderedDrawing& drawing,
                                         std::string& message) {
  return DrawingOfRun({"corner", std::to_string(side)}, data, drawing, message);
}

}  // namespace brixel
