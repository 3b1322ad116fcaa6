#include "ChildProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace brixel {
namespace {

using Clock = std::chrono::steady_clock;

// Closes a descriptor on every path.
struct Descriptor {
  int fd = -1;
  Descriptor() = default;
  explicit Descriptor(int d) : fd(d) {}
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  ~Descriptor() { Close(); }
  void Close() {
    if (fd >= 0) ::close(fd);
    fd = -1;
  }
};

// A started child: killed and reaped on every path that has not reaped it, so that no run
// leaves a process behind, whatever is thrown.
struct Child {
  pid_t pid = -1;
  int status = 0;
  rusage usage{};
  Child() = default;
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;
  ~Child() {
    if (pid > 0) Kill();
  }
  void Kill() {
    ::kill(pid, SIGKILL);
    Reap(0);
  }
  // Waits for its end (options 0) or looks whether it has ended (WNOHANG).
  bool Reap(int options) {
    for (;;) {
      const pid_t r = ::wait4(pid, &status, options, &usage);
      if (r == pid) return pid = -1, true;
      if (r < 0 && errno == EINTR) continue;
      if (r < 0) return pid = -1, true;  // not ours to wait for any more
      return false;
    }
  }
};

std::string ErrnoText(const char* what) { return std::string(what) + ": " + std::strerror(errno); }

// The input in an anonymous file, read from its start: a file rather than a pipe, so that the
// program may stop before reading it all without any harm, and we need not feed it.
bool InputAsFile(ByteView input, Descriptor& file, std::string& problem) {
  file.fd = ::memfd_create("brixel-input", MFD_CLOEXEC);
  if (file.fd < 0) return problem = ErrnoText("no memory file for its input"), false;
  if (!WriteAllTo(file.fd, input) || ::lseek(file.fd, 0, SEEK_SET) != 0) {
    return problem = ErrnoText("its input could not be handed over"), false;
  }
  return true;
}

// Makes fd the child's descriptor target, kept over exec (dup2 onto itself would keep its
// close-on-exec: a caller started with its standard input closed gets the input file as 0).
bool MoveTo(int fd, int target) {
  if (fd == target) return ::fcntl(fd, F_SETFD, 0) == 0;
  return ::dup2(fd, target) >= 0;
}

// In the child, between fork and exec: only calls that are safe after forking a program with
// threads. Tells the parent errno through report when exec fails.
[[noreturn]] void BecomeProgram(const char* program, char* const* argv, int input, int output, int log,
                                int report, pid_t parent, std::size_t memoryLimit, rlim_t cpuSeconds) {
  // Dies with the thread that started it; a parent gone already is not waited for.
  ::prctl(PR_SET_PDEATHSIG, SIGKILL);
  if (::getppid() != parent) ::_exit(127);
  if (memoryLimit > 0) {
    const rlimit limit{memoryLimit, memoryLimit};
    ::setrlimit(RLIMIT_AS, &limit);
  }
  // A helper stopped on a hostile input leaves no core file behind.
  const rlimit noCore{0, 0};
  ::setrlimit(RLIMIT_CORE, &noCore);
  // SIGXCPU at the limit, SIGKILL a second later for a program that ignores it.
  if (cpuSeconds > 0) {
    const rlimit limit{cpuSeconds, cpuSeconds + 1};
    ::setrlimit(RLIMIT_CPU, &limit);
  }
  sigset_t none;
  ::sigemptyset(&none);
  ::sigprocmask(SIG_SETMASK, &none, nullptr);
  if (!MoveTo(input, STDIN_FILENO) || !MoveTo(output, STDOUT_FILENO) || !MoveTo(log, STDERR_FILENO)) {
    const int error = errno;
    (void)!::write(report, &error, sizeof error);
    ::_exit(127);
  }
  // Descriptors the caller opened without close-on-exec (a display connection, files) stay
  // with the caller; failing on an older kernel, that costs only tidiness.
  ::close_range(STDERR_FILENO + 1, ~0U, CLOSE_RANGE_CLOEXEC);
  ::execv(program, argv);
  const int error = errno;
  (void)!::write(report, &error, sizeof error);
  ::_exit(127);
}

// Keeps what the program writes to its log up to kLogLimit, and reads on past it so that the
// program never blocks on a full pipe. False once the log is closed.
bool ReadLog(int fd, std::string& log) {
  char chunk[4096];
  for (;;) {
    const ssize_t n = ::read(fd, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno == EAGAIN) return true;
    if (n <= 0) return false;
    log.append(chunk, std::min(static_cast<std::size_t>(n), kLogLimit - log.size()));
  }
}

double CpuSeconds(const rusage& usage) {
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

int RemainingMilliseconds(Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
  return left.count() <= 0 ? 0 : static_cast<int>(std::min<long long>(left.count(), 60000));
}

}  // namespace

bool AddressSpaceIsSanitized() {
#if defined(__SANITIZE_ADDRESS__)
  return true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
  return true;
#else
  return false;
#endif
#else
  return false;
#endif
}

ProgramOutcome RunProgram(const ProgramRun& run, ByteView input) {
  ProgramOutcome outcome;
  Descriptor inputFile;
  if (!InputAsFile(input, inputFile, outcome.Problem)) return outcome;
  int ends[2];
  if (::pipe2(ends, O_CLOEXEC) != 0) return outcome.Problem = ErrnoText("no pipe for its output"), outcome;
  Descriptor reading(ends[0]);
  Descriptor writing(ends[1]);
  if (::pipe2(ends, O_CLOEXEC) != 0) return outcome.Problem = ErrnoText("no pipe for its start"), outcome;
  Descriptor startReading(ends[0]);
  Descriptor startWriting(ends[1]);
  if (::pipe2(ends, O_CLOEXEC) != 0) return outcome.Problem = ErrnoText("no pipe for its log"), outcome;
  Descriptor logReading(ends[0]);
  Descriptor logWriting(ends[1]);
  ::fcntl(logReading.fd, F_SETFL, O_NONBLOCK);

  // Everything the child needs is made before the fork: it may not allocate.
  std::vector<std::string> words = {run.Program};
  words.insert(words.end(), run.Arguments.begin(), run.Arguments.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  const std::size_t memoryLimit = AddressSpaceIsSanitized() ? 0 : run.MemoryLimit;
  const pid_t parent = ::getpid();

  Child child;
  child.pid = ::fork();
  if (child.pid < 0) return outcome.Problem = ErrnoText("no process for it"), outcome;
  if (child.pid == 0) {
    BecomeProgram(run.Program.c_str(), argv.data(), inputFile.fd, writing.fd, logWriting.fd,
                  startWriting.fd, parent, memoryLimit, static_cast<rlim_t>(run.CpuLimit.count()));
  }
  writing.Close();
  logWriting.Close();
  startWriting.Close();
  inputFile.Close();

  // The start pipe closes at exec; an errno comes through it when exec failed.
  int startError = 0;
  ssize_t got = 0;
  while ((got = ::read(startReading.fd, &startError, sizeof startError)) < 0 && errno == EINTR) {
  }
  if (got == sizeof startError) {
    child.Reap(0);
    outcome.Problem = std::string("could not be started: ") + std::strerror(startError);
    return outcome;
  }

  const Clock::time_point deadline = Clock::now() + run.TimeLimit;
  std::uint8_t chunk[65536];
  bool logOpen = true;
  for (;;) {
    pollfd ready[2] = {{reading.fd, POLLIN, 0}, {logOpen ? logReading.fd : -1, POLLIN, 0}};
    const int polled = ::poll(ready, 2, RemainingMilliseconds(deadline));
    if (polled < 0 && errno == EINTR) continue;
    if (polled == 0 && Clock::now() >= deadline) {
      child.Kill();
      outcome.How = ProgramOutcome::Ending::TimedOut;
      return outcome;
    }
    if (polled <= 0) continue;
    if (ready[1].revents != 0) logOpen = ReadLog(logReading.fd, outcome.Log);
    if (ready[0].revents == 0) continue;
    const ssize_t n = ::read(reading.fd, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    if (run.OutputLimit > 0 && outcome.Output.size() + static_cast<std::size_t>(n) > run.OutputLimit) {
      child.Kill();
      outcome.How = ProgramOutcome::Ending::TooMuchOutput;
      return outcome;
    }
    outcome.Output.insert(outcome.Output.end(), chunk, chunk + n);
  }

  // Its output has ended; it may still linger.
  while (!child.Reap(WNOHANG)) {
    if (logOpen) logOpen = ReadLog(logReading.fd, outcome.Log);
    if (Clock::now() >= deadline) {
      child.Kill();
      outcome.How = ProgramOutcome::Ending::TimedOut;
      return outcome;
    }
    ::usleep(2000);
  }
  if (logOpen) ReadLog(logReading.fd, outcome.Log);
  const int signal = WIFSIGNALED(child.status) ? WTERMSIG(child.status) : 0;
  // SIGXCPU at the soft limit, or SIGKILL at the hard one (we kill only on the paths above).
  if (run.CpuLimit.count() > 0 &&
      (signal == SIGXCPU || (signal == SIGKILL && CpuSeconds(child.usage) >= static_cast<double>(run.CpuLimit.count())))) {
    outcome.How = ProgramOutcome::Ending::OutOfCpuTime;
    outcome.Code = signal;
  } else if (WIFSIGNALED(child.status)) {
    outcome.How = ProgramOutcome::Ending::Signalled;
    outcome.Code = WTERMSIG(child.status);
  } else {
    outcome.How = ProgramOutcome::Ending::Exited;
    outcome.Code = WEXITSTATUS(child.status);
  }
  return outcome;
}

std::string DescribeFailedRun(const ProgramRun& run, const ProgramOutcome& outcome) {
  switch (outcome.How) {
    case ProgramOutcome::Ending::NotStarted: return outcome.Problem;
    case ProgramOutcome::Ending::Exited: return "ended with exit status " + std::to_string(outcome.Code);
    case ProgramOutcome::Ending::Signalled:
      return "stopped on signal " + std::to_string(outcome.Code) + " (" + strsignal(outcome.Code) + ")";
    case ProgramOutcome::Ending::TimedOut: {
      const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(run.TimeLimit).count();
      return "did not finish within " + std::to_string(seconds) + (seconds == 1 ? " second" : " seconds") +
             " and was stopped";
    }
    case ProgramOutcome::Ending::TooMuchOutput: return "wrote more than it may and was stopped";
    case ProgramOutcome::Ending::OutOfCpuTime: {
      const auto seconds = run.CpuLimit.count();
      return "used more than " + std::to_string(seconds) + (seconds == 1 ? " second" : " seconds") +
             " of processor time and was stopped";
    }
  }
  return {};
}

}  // namespace brixel
