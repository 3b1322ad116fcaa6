#include "PictureDecoderProcess.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "PictureTransfer.h"

extern char** environ;

namespace brixel::cli {
namespace {

namespace fs = std::filesystem;

// The program beside this one, else where an installation puts it; empty when neither is there.
std::string DecoderProgramPath() {
  std::error_code error;
  const fs::path folder = fs::read_symlink("/proc/self/exe", error).parent_path();
  for (const fs::path& candidate :
       {folder / kPictureDecoderProgram, folder / ".." / "lib" / "brixel" / kPictureDecoderProgram}) {
    if (::access(candidate.c_str(), X_OK) == 0) return candidate.string();
  }
  return {};
}

// Closes a descriptor on every path.
struct Descriptor {
  int fd = -1;
  ~Descriptor() { Close(); }
  void Close() {
    if (fd >= 0) ::close(fd);
    fd = -1;
  }
};

std::string ErrnoText(const char* what) { return std::string(what) + ": " + std::strerror(errno); }

// The data in an anonymous file, read from its start: the program's standard input. A file
// rather than a pipe, so that the program may stop before reading it all without any harm.
bool DataAsFile(const Bytes& data, Descriptor& file, std::string& message) {
  file.fd = ::memfd_create("brixel-picture", MFD_CLOEXEC);
  if (file.fd < 0) return message = ErrnoText("no memory file for the picture"), false;
  std::size_t done = 0;
  while (done < data.size()) {
    const ssize_t n = ::write(file.fd, data.data() + done, data.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return message = ErrnoText("the picture could not be handed over"), false;
    done += static_cast<std::size_t>(n);
  }
  if (::lseek(file.fd, 0, SEEK_SET) != 0) {
    return message = ErrnoText("the picture could not be handed over"), false;
  }
  return true;
}

// Runs the program with args and the data; what it wrote to standard output and how it ended.
bool RunDecoderProgram(const std::vector<std::string>& args, const Bytes& data, Bytes& output,
                       int& status, std::string& message) {
  const std::string program = DecoderProgramPath();
  if (program.empty()) {
    message = std::string("only icons and cursors can be read without the picture decoder (") +
              kPictureDecoderProgram + " is not installed beside brixel-cli)";
    return false;
  }
  Descriptor input;
  if (!DataAsFile(data, input, message)) return false;
  int ends[2];
  if (::pipe2(ends, O_CLOEXEC) != 0) return message = ErrnoText("no pipe to the picture decoder"), false;
  Descriptor reading{ends[0]};
  Descriptor writing{ends[1]};

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, input.fd, STDIN_FILENO);
  posix_spawn_file_actions_adddup2(&actions, writing.fd, STDOUT_FILENO);
  std::vector<std::string> words = {program};
  words.insert(words.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  pid_t child = 0;
  const int spawned = ::posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  writing.Close();
  if (spawned != 0) {
    message = program + " could not be started: " + std::strerror(spawned);
    return false;
  }

  std::uint8_t chunk[65536];
  for (;;) {
    const ssize_t n = ::read(reading.fd, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    output.insert(output.end(), chunk, chunk + n);
  }
  while (::waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) return message = ErrnoText("the picture decoder was lost"), false;
  }
  return true;
}

// The pictures of a run that ended well, or the reason it did not.
bool PicturesOfRun(const std::vector<std::string>& args, const Bytes& data,
                   std::vector<LoadedPicture>& pictures, std::string& message) {
  Bytes output;
  int status = 0;
  if (!RunDecoderProgram(args, data, output, status, message)) return false;
  if (WIFEXITED(status) && WEXITSTATUS(status) == 1) {
    message = std::string(output.begin(), output.end());
    if (message.empty()) message = "the picture decoder could not read it";
    return false;
  }
  if (WIFSIGNALED(status)) {
    message = std::string("the picture decoder stopped on signal ") + std::to_string(WTERMSIG(status)) +
              " (" + strsignal(WTERMSIG(status)) + ")";
    return false;
  }
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || !ReadPictures(output, pictures)) {
    message = "the picture decoder did not answer as expected";
    return false;
  }
  return true;
}

}  // namespace

bool DecodeInDecoderProgram(const Bytes& data, const std::string& path, LoadedPicture& picture,
                            std::string& message) {
  std::vector<LoadedPicture> pictures;
  if (!PicturesOfRun({"decode", path}, data, pictures, message)) return false;
  if (pictures.size() != 1) return message = "the picture decoder did not answer as expected", false;
  picture = std::move(pictures[0]);
  return true;
}

bool RenderDrawingInDecoderProgram(const Bytes& data, const std::vector<int>& sides,
                                   std::vector<LoadedPicture>& pictures, std::string& message) {
  std::vector<std::string> args = {"render"};
  for (const int side : sides) args.push_back(std::to_string(side));
  if (!PicturesOfRun(args, data, pictures, message)) return false;
  if (pictures.size() != sides.size()) {
    return message = "the picture decoder did not answer as expected", false;
  }
  return true;
}

}  // namespace brixel::cli
