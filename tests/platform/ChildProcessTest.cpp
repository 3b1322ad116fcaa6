// Bounded runs of helper programs: what comes back, and how a helper that crashes, hangs,
// floods or grows is stopped and told apart.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>

#include "ChildProcess.h"
#include "TestSupport.h"

namespace brixel {
namespace {

using namespace std::chrono_literals;

ProgramRun Shell(const std::string& script) {
  ProgramRun run;
  run.Program = "/bin/sh";
  run.Arguments = {"-c", script};
  return run;
}

TEST(ChildProcess, AnswerAndExitStatusComeBack) {
  // More input than a pipe holds, read back whole.
  Bytes input(300000);
  for (std::size_t i = 0; i < input.size(); ++i) input[i] = static_cast<std::uint8_t>(i * 7);
  const ProgramOutcome echoed = RunProgram(Shell("cat"), input);
  EXPECT_TRUE(echoed.ExitedWith(0));
  EXPECT_EQ(echoed.Output, input);

  const ProgramOutcome failed = RunProgram(Shell("printf no; exit 3"), {});
  EXPECT_TRUE(failed.ExitedWith(3));
  EXPECT_EQ(std::string(failed.Output.begin(), failed.Output.end()), "no");

  // A descriptor of ours that is not closed on exec does not reach the helper.
  const int opened = ::open("/dev/null", O_RDONLY);
  const int ours = ::fcntl(opened, F_DUPFD, 10);  // above the standard streams, open or not
  ::close(opened);
  ASSERT_GE(ours, 10);
  const ProgramOutcome looked = RunProgram(Shell("test -e /proc/$$/fd/" + std::to_string(ours) + " && printf leaked"), {});
  ::close(ours);
  EXPECT_TRUE(looked.Output.empty());
}

TEST(ChildProcess, CrashHangFloodAndMissingProgramAreToldApart) {
  const ProgramRun crash = Shell("kill -SEGV $$");
  const ProgramOutcome crashed = RunProgram(crash, {});
  EXPECT_EQ(crashed.How, ProgramOutcome::Ending::Signalled);
  EXPECT_EQ(crashed.Code, SIGSEGV);
  EXPECT_EQ(DescribeFailedRun(crash, crashed), "stopped on signal 11 (Segmentation fault)");

  // Still running after closing its output, and never closing it: both are stopped.
  for (const char* script : {"exec sleep 60", "exec >&-; exec sleep 60"}) {
    ProgramRun hang = Shell(script);
    hang.TimeLimit = 1s;
    const ProgramOutcome hung = RunProgram(hang, {});
    EXPECT_EQ(hung.How, ProgramOutcome::Ending::TimedOut) << script;
    EXPECT_EQ(DescribeFailedRun(hang, hung), "did not finish within 1 second and was stopped");
  }

  ProgramRun flood = Shell("exec yes");
  flood.OutputLimit = 1 << 20;
  const ProgramOutcome flooded = RunProgram(flood, {});
  EXPECT_EQ(flooded.How, ProgramOutcome::Ending::TooMuchOutput);
  EXPECT_LE(flooded.Output.size(), flood.OutputLimit);

  ProgramRun missing;
  missing.Program = "/nonexistent/helper";
  const ProgramOutcome notRun = RunProgram(missing, {});
  EXPECT_EQ(notRun.How, ProgramOutcome::Ending::NotStarted);
  EXPECT_EQ(DescribeFailedRun(missing, notRun), "could not be started: No such file or directory");
}

TEST(ChildProcess, ProcessorTimeLimitStopsASpinningHelper) {
  ProgramRun spin = Shell("while :; do :; done");
  spin.CpuLimit = 1s;
  spin.TimeLimit = 60s;
  const ProgramOutcome spun = RunProgram(spin, {});
  EXPECT_EQ(spun.How, ProgramOutcome::Ending::OutOfCpuTime);
  EXPECT_EQ(DescribeFailedRun(spin, spun), "used more than 1 second of processor time and was stopped");

  // Set before it starts, with no core file for a helper stopped on its input.
  ProgramRun limits = Shell("awk '/Max cpu time/ {print $4, $5} /Max core file size/ {print $5, $6}' /proc/self/limits");
  limits.CpuLimit = 3s;
  const ProgramOutcome looked = RunProgram(limits, {});
  EXPECT_EQ(std::string(looked.Output.begin(), looked.Output.end()), "3 4\n0 0\n");

  // One that only waits is not stopped by it.
  ProgramRun wait = Shell("sleep 1.5; printf awake");
  wait.CpuLimit = 1s;
  EXPECT_TRUE(RunProgram(wait, {}).ExitedWith(0));
}

TEST(ChildProcess, TheLogIsCollectedApartAndCut) {
  const ProgramOutcome noted = RunProgram(Shell("printf answer; echo note >&2"), {});
  EXPECT_TRUE(noted.ExitedWith(0));
  EXPECT_EQ(std::string(noted.Output.begin(), noted.Output.end()), "answer");
  EXPECT_EQ(noted.Log, "note\n");

  // A log far past its limit neither blocks the helper nor grows past the limit.
  const ProgramOutcome chatty = RunProgram(Shell("head -c 3000000 /dev/zero >&2; printf done"), {});
  EXPECT_TRUE(chatty.ExitedWith(0));
  EXPECT_EQ(std::string(chatty.Output.begin(), chatty.Output.end()), "done");
  EXPECT_EQ(chatty.Log.size(), kLogLimit);
}

TEST(ChildProcess, MemoryLimitCapsTheHelper) {
  if (AddressSpaceIsSanitized()) GTEST_SKIP() << "no memory limit under AddressSanitizer";
  if (test::RunCommand("command -v python3 >/dev/null 2>&1") != 0) GTEST_SKIP() << "no python3";
  // A gigabyte is refused under a 256 MB cap and granted without it.
  ProgramRun grow;
  grow.Program = "/usr/bin/python3";
  grow.Arguments = {"-c", "import sys\ntry:\n  bytearray(1 << 30)\nexcept MemoryError:\n  sys.exit(7)"};
  grow.MemoryLimit = std::size_t{256} << 20;
  EXPECT_TRUE(RunProgram(grow, {}).ExitedWith(7));
  grow.MemoryLimit = 0;
  EXPECT_TRUE(RunProgram(grow, {}).ExitedWith(0));
}

}  // namespace
}  // namespace brixel
