#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <thread>
#include <cstdio>
#include <filesystem>
#include <sstream>

#include "FileIO.h"
#include "IcoFile.h"
#include "TestSupport.h"

namespace brixel {
namespace {

namespace fs = std::filesystem;

using Result = test::ProcessResult;

bool HaveTool(const std::string& tool) { return test::RunCommand("command -v " + tool + " >/dev/null 2>&1") == 0; }

// A decoded PAM file.
struct Pam {
  int width = 0, height = 0, depth = 0;
  Bytes pixels;
  std::array<int, 4> At(int x, int y) const {
    const std::size_t i = (static_cast<std::size_t>(y) * width + x) * depth;
    return {pixels[i], pixels[i + 1], pixels[i + 2], depth == 4 ? pixels[i + 3] : 255};
  }
};

Pam ReadPam(const fs::path& path) {
  const Bytes bytes = ReadWholeFile(path.string());
  const std::string text(bytes.begin(), bytes.end());
  const std::size_t end = text.find("ENDHDR\n");
  Pam pam;
  std::istringstream header(text.substr(0, end));
  std::string key;
  while (header >> key) {
    if (key == "WIDTH") header >> pam.width;
    else if (key == "HEIGHT") header >> pam.height;
    else if (key == "DEPTH") header >> pam.depth;
  }
  pam.pixels.assign(bytes.begin() + static_cast<std::ptrdiff_t>(end + 7), bytes.end());
  return pam;
}

class CliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!HaveTool("convert")) GTEST_SKIP() << "ImageMagick is not installed";
    // A picture with fully transparent and fully opaque pixels only, so every reader agrees.
    source_ = dir_ / "source.png";
    ASSERT_EQ(test::RunCommand("convert -size 24x24 xc:none +antialias -fill '#d02010' -draw 'rectangle 2,2 12,12' "
                               "-fill '#10c040' -draw 'circle 16,16 16,21' -fill '#2030f0' -draw 'point 0,23' " +
                               test::ShellQuote(source_.string())), 0);
  }
  Result Run(const std::vector<std::string>& args) { return test::RunProgram(BRIXEL_CLI_PATH, args, dir_.Path()); }

  // Compares our dump of image index of file with ImageMagick's reading of it.
  void ExpectDumpMatchesImageMagick(const fs::path& file, int index) {
    const fs::path ours = dir_ / ("dump-" + file.stem().string());
    ASSERT_EQ(Run({"dump", file.string(), ours.string()}).status, 0);
    // ImageMagick's raw RGBA output has four channels whatever the picture's type.
    const fs::path theirs = dir_ / ("im-" + file.stem().string() + ".rgba");
    ASSERT_EQ(test::RunCommand("convert " + test::ShellQuote(file.string() + "[" + std::to_string(index) + "]") +
                               " -depth 8 " + test::ShellQuote("rgba:" + theirs.string())), 0);
    const Pam a = ReadPam(ours / (std::to_string(index) + ".pam"));
    ASSERT_EQ(a.depth, 4);
    const Pam b{a.width, a.height, 4, ReadWholeFile(theirs.string())};
    ASSERT_EQ(a.pixels.size(), b.pixels.size());
    int opaque = 0;
    for (int y = 0; y < a.height; ++y) {
      for (int x = 0; x < a.width; ++x) {
        const auto p = a.At(x, y), q = b.At(x, y);
        // Partly transparent pixels have no AND bit of their own to agree on.
        if (q[3] != 0 && q[3] != 255) continue;
        EXPECT_EQ(p[3], q[3]) << x << "," << y;
        if (q[3] == 255) {
          ++opaque;
          EXPECT_EQ(p, q) << x << "," << y;
        }
      }
    }
    EXPECT_GT(opaque, 50);
  }

  test::TempDir dir_;
  fs::path source_;
};

TEST_F(CliTest, UsageErrorsHelpAndVersion) {
  EXPECT_EQ(Run({}).status, 2);
  EXPECT_EQ(Run({"frobnicate"}).status, 2);
  EXPECT_EQ(Run({"info"}).status, 2);
  EXPECT_EQ(Run({"convert", "a.ico"}).status, 2);
  const Result help = Run({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("dump FILE DIR"), std::string::npos);
  const Result version = Run({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, "brixel-cli 1.0.0\n");
}

TEST_F(CliTest, InfoOfAnIconWrittenByImageMagick) {
  const fs::path icon = dir_ / "multi.ico";
  ASSERT_EQ(test::RunCommand("convert " + test::ShellQuote(source_.string()) + " -define icon:auto-resize=48,24,16 " +
                             test::ShellQuote(icon.string())), 0);
  const Result r = Run({"info", icon.string(), "--json"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out.find("{\"path\": \"" + icon.string() + "\", \"type\": \"icon\", \"images\": [{\"width\": 48, "
                       "\"height\": 48, \"bitDepth\": 32, "),
            0u) << r.out;
  // An icon's entry holds its planes and bit count where a cursor's holds its hot spot; a
  // 32-bit image has no palette.
  EXPECT_NE(r.out.find("{\"width\": 16, \"height\": 16, \"bitDepth\": 32, \"planes\": 1, \"bitCount\": 32, "
                       "\"png\": false, \"alpha\": true}]}"),
            std::string::npos) << r.out;
  if (HaveTool("/usr/bin/python3")) {
    EXPECT_EQ(test::RunCommand(test::ShellQuote(BRIXEL_CLI_PATH) + " info " + test::ShellQuote(icon.string()) +
                               " --json | /usr/bin/python3 -c 'import json,sys; d=json.load(sys.stdin); "
                               "sys.exit(0 if len(d[\"images\"]) == 3 else 1)'"), 0);
  }
  const Result text = Run({"info", icon.string()});
  EXPECT_NE(text.out.find("icon, 3 images"), std::string::npos) << text.out;
  EXPECT_NE(text.out.find("  16x16, 32 bit, alpha, planes 1, bit count 32\n"), std::string::npos) << text.out;
  EXPECT_EQ(text.out.find("hot spot"), std::string::npos) << text.out;
  EXPECT_EQ(text.out.find("palette"), std::string::npos) << text.out;
  // The 24-pixel image is the picture itself, not resampled: its alpha is all or nothing.
  ExpectDumpMatchesImageMagick(icon, 1);
}

TEST_F(CliTest, PalettedIconsOfIcotoolDumpAsImageMagickReadsThem) {
  if (!HaveTool("icotool")) GTEST_SKIP() << "icoutils is not installed";
  for (int depth : {1, 4, 8, 24}) {
    SCOPED_TRACE(depth);
    fs::path png = source_;
    if (depth == 1) {
      // Two colours only, or icotool refuses the depth.
      png = dir_ / "mono.png";
      ASSERT_EQ(test::RunCommand("convert -size 24x24 xc:none +antialias -fill black -draw 'rectangle 2,2 12,12' "
                                 "-fill white -draw 'circle 16,16 16,21' " + test::ShellQuote(png.string())), 0);
    }
    const fs::path icon = dir_ / ("d" + std::to_string(depth) + ".ico");
    ASSERT_EQ(test::RunCommand("icotool -c -b " + std::to_string(depth) + " -o " + test::ShellQuote(icon.string()) + " " +
                               test::ShellQuote(png.string())), 0);
    const Result r = Run({"info", icon.string(), "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\"bitDepth\": " + std::to_string(depth) + ","), std::string::npos) << r.out;
    ExpectDumpMatchesImageMagick(icon, 0);
  }
}

TEST_F(CliTest, AlphaIsKeptDumpedOnRequestAndDroppedOnRequest) {
  // Soft edges: ImageMagick writes the 256-pixel entry as PNG, the 32-pixel one as a 32-bit
  // bitmap with alpha.
  const fs::path soft = dir_ / "soft.png";
  ASSERT_EQ(test::RunCommand("convert -size 256x256 xc:none -fill '#d02010' -draw 'circle 128,128 128,30' " +
                             test::ShellQuote(soft.string())), 0);
  const fs::path icon = dir_ / "soft.ico";
  ASSERT_EQ(test::RunCommand("convert " + test::ShellQuote(soft.string()) + " -define icon:auto-resize=256,32 " +
                             test::ShellQuote(icon.string())), 0);
  const Result info = Run({"info", icon.string()});
  ASSERT_EQ(info.status, 0) << info.err;
  EXPECT_NE(info.out.find("256x256, 32 bit, png, alpha, planes"), std::string::npos) << info.out;
  EXPECT_NE(info.out.find("32x32, 32 bit, alpha, planes 1, bit count 32"), std::string::npos) << info.out;

  // --alpha dumps the alpha as ImageMagick reads it; without, it is all or nothing (by the
  // AND mask of the bitmap, which need not cut at 128).
  const fs::path kept = dir_ / "kept", plain = dir_ / "plain";
  ASSERT_EQ(Run({"dump", icon.string(), kept.string(), "--alpha"}).status, 0);
  ASSERT_EQ(Run({"dump", icon.string(), plain.string()}).status, 0);
  for (int index : {0, 1}) {
    SCOPED_TRACE(index);
    const fs::path theirs = dir_ / ("im-" + std::to_string(index) + ".rgba");
    ASSERT_EQ(test::RunCommand("convert " + test::ShellQuote(icon.string() + "[" + std::to_string(index) + "]") +
                               " -depth 8 " + test::ShellQuote("rgba:" + theirs.string())), 0);
    const Bytes im = ReadWholeFile(theirs.string());
    const Pam a = ReadPam(kept / (std::to_string(index) + ".pam"));
    const Pam b = ReadPam(plain / (std::to_string(index) + ".pam"));
    ASSERT_EQ(a.pixels.size(), im.size());
    int soft = 0;
    for (std::size_t p = 3; p < im.size(); p += 4) {
      EXPECT_EQ(a.pixels[p], im[p]) << p / 4;
      EXPECT_EQ(b.pixels[p], im[p] == 0 ? 0 : im[p] == 255 || index == 1 ? 255 : im[p] < 128 ? 0 : 255) << p / 4;
      soft += im[p] != 0 && im[p] != 255;
    }
    EXPECT_GT(soft, 10);
  }

  // Converted, the alpha stays; with --drop-alpha it goes, and no entry stays PNG.
  const fs::path same = dir_ / "same.ico", dropped = dir_ / "dropped.ico";
  ASSERT_EQ(Run({"convert", icon.string(), same.string()}).status, 0);
  EXPECT_EQ(Run({"info", same.string()}).out, Run({"info", icon.string()}).out.replace(0, icon.string().size(), same.string()));
  ASSERT_EQ(Run({"--drop-alpha", "convert", icon.string(), dropped.string()}).status, 0);
  const Result droppedInfo = Run({"info", dropped.string()});
  EXPECT_EQ(droppedInfo.out.find("alpha"), std::string::npos) << droppedInfo.out;
  EXPECT_EQ(droppedInfo.out.find("png"), std::string::npos) << droppedInfo.out;
  EXPECT_NE(Run({"info", icon.string(), "--drop-alpha"}).out.find("256x256, 32 bit, planes"), std::string::npos);
}

TEST_F(CliTest, ConvertFollowsTheTargetExtension) {
  const fs::path icon = dir_ / "one.ico";
  ASSERT_EQ(test::RunCommand("convert " + test::ShellQuote(source_.string()) + " " + test::ShellQuote(icon.string())), 0);
  const fs::path cursor = dir_ / "one.cur";
  ASSERT_EQ(Run({"convert", icon.string(), cursor.string()}).status, 0);
  const Bytes bytes = ReadWholeFile(cursor.string());
  ASSERT_GT(bytes.size(), 6u);
  EXPECT_EQ(bytes[2], 2);
  EXPECT_NE(Run({"info", cursor.string()}).out.find("cursor, 1 image"), std::string::npos);
  const fs::path ours = dir_ / "a", again = dir_ / "b";
  ASSERT_EQ(Run({"dump", icon.string(), ours.string()}).status, 0);
  ASSERT_EQ(Run({"dump", cursor.string(), again.string()}).status, 0);
  EXPECT_EQ(ReadWholeFile((ours / "0.pam").string()), ReadWholeFile((again / "0.pam").string()));
}

TEST_F(CliTest, FailuresExitWithOneAndLeaveFilesAlone) {
  const Result missing = Run({"info", (dir_ / "missing.ico").string()});
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("Error Number: 53"), std::string::npos) << missing.err;
  EXPECT_TRUE(missing.out.empty());

  EXPECT_EQ(Run({"info", source_.string()}).status, 1);  // not an icon file name

  const fs::path icon = dir_ / "in.ico";
  ASSERT_EQ(test::RunCommand("convert " + test::ShellQuote(source_.string()) + " " + test::ShellQuote(icon.string())), 0);
  const fs::path locked = dir_ / "locked.ico";
  test::WriteBytes(locked, {1, 2, 3});
  ::chmod(locked.c_str(), 0444);
  const Result readOnly = Run({"convert", icon.string(), locked.string()});
  EXPECT_EQ(readOnly.status, 1);
  EXPECT_NE(readOnly.err.find("The file is read only, Overwrite anyway?"), std::string::npos);
  EXPECT_EQ(ReadWholeFile(locked.string()), (Bytes{1, 2, 3}));
  EXPECT_EQ(Run({"convert", icon.string(), (dir_ / "no" / "x.ico").string()}).status, 1);
}

TEST_F(CliTest, ConvertToAFolderConvertsEveryFileAndGoesOnAfterFailures) {
  const fs::path icon = dir_ / "one.ico";
  ASSERT_EQ(test::RunCommand("convert " + test::ShellQuote(source_.string()) + " " + test::ShellQuote(icon.string())), 0);
  const fs::path cursor = dir_ / "two.cur";
  ASSERT_EQ(Run({"convert", icon.string(), cursor.string()}).status, 0);
  const fs::path broken = dir_ / "broken.ico";
  test::WriteBytes(broken, {0, 0, 1, 0, 1, 0, 16, 16});
  const fs::path out = dir_ / "out";
  fs::create_directory(out);
  test::WriteBytes(out / "one.ico", {9, 9, 9});  // replaced

  const Result batch = Run({"convert", "--to", out.string(), icon.string(), broken.string(), cursor.string()});
  EXPECT_EQ(batch.status, 1);
  EXPECT_NE(batch.err.find("broken.ico"), std::string::npos) << batch.err;
  const fs::path single = dir_ / "single.ico";
  ASSERT_EQ(Run({"convert", icon.string(), single.string()}).status, 0);
  EXPECT_EQ(ReadWholeFile((out / "one.ico").string()), ReadWholeFile(single.string()));
  EXPECT_EQ(ReadWholeFile((out / "two.cur").string())[2], 2);
  EXPECT_FALSE(fs::exists(out / "broken.ico"));
  EXPECT_EQ(std::distance(fs::directory_iterator(out), fs::directory_iterator()), 2) << "no temporary files left";

  EXPECT_EQ(Run({"convert", "--to", out.string(), "--ext", "cur", icon.string()}).status, 0);
  EXPECT_EQ(ReadWholeFile((out / "one.cur").string())[2], 2);
  // Two files of one base name: the first is converted, the second reported, not written over it.
  const fs::path other = dir_ / "other";
  fs::create_directory(other);
  const fs::path same = other / "two.ico";
  ASSERT_EQ(Run({"convert", "--to", other.string(), "--ext", "ico", cursor.string()}).status, 0);
  const Bytes cursorAsIcon = ReadWholeFile(same.string());
  test::WriteBytes(same, BuildIconFile({MakeNewImage(16, 16, 4)}, 1));
  const Result clash = Run({"convert", "--to", out.string(), "--ext", "ico", cursor.string(), same.string()});
  EXPECT_EQ(clash.status, 1);
  EXPECT_NE(clash.err.find("two.cur goes"), std::string::npos) << clash.err;
  EXPECT_EQ(ReadWholeFile((out / "two.ico").string()), cursorAsIcon);
  EXPECT_EQ(Run({"convert", "--to", out.string(), "--ext", "png", icon.string()}).status, 2);
  EXPECT_EQ(Run({"convert", "--to", (dir_ / "nowhere").string(), icon.string()}).status, 1);
}

// Several workers read and build the files; what is said and written must not depend on how
// many: the same messages in the order of the files, the same files, the same exit status.
TEST_F(CliTest, ABatchSaysAndWritesTheSameWithAnyNumberOfWorkers) {
  std::vector<std::string> files;
  for (int i = 0; i < 24; ++i) {
    const fs::path file = dir_ / ("n" + std::to_string(i) + (i % 3 == 0 ? ".cur" : ".ico"));
    if (i % 7 == 3) {
      test::WriteBytes(file, {0, 0, 1, 0, 1, 0, 16, 16});  // cut short: a report and a message
    } else {
      IconImage image = MakeNewImage(8 + i, 8 + i, i % 2 ? 32 : 8);
      image.Pixels.At(i % 8, 1) = MakeColour(i * 9, 0, 255 - i);
      test::WriteBytes(file, BuildIconFile({image, MakeNewImage(16, 16, 4)}, i % 3 == 0 ? 2 : 1));
    }
    files.push_back(file.string());
  }
  files.push_back((dir_ / "picture.png").string());           // not an icon's name
  fs::create_directory(dir_ / "sub");
  files.push_back((dir_ / "sub" / "n1.ico").string());        // a base name taken already
  test::WriteBytes(files.back(), BuildIconFile({MakeNewImage(16, 16, 4)}, 1));

  std::vector<Result> results;
  std::vector<std::vector<Bytes>> outputs;
  for (const char* jobs : {"1", "4"}) {
    const fs::path out = dir_ / ("out" + std::string(jobs));
    fs::create_directory(out);
    std::vector<std::string> args = {"convert", "--to", out.string(), "--jobs", jobs};
    args.insert(args.end(), files.begin(), files.end());
    results.push_back(Run(args));
    std::vector<Bytes> written;
    for (const std::string& file : files) {
      for (const char* ext : {".ico", ".cur"}) {
        const fs::path target = out / (fs::path(file).stem().string() + ext);
        written.push_back(fs::exists(target) ? ReadWholeFile(target.string()) : Bytes{});
      }
    }
    outputs.push_back(std::move(written));
  }
  EXPECT_EQ(results[0].status, 1);
  EXPECT_EQ(results[1].status, results[0].status);
  const auto sameFolder = [&](std::string text) {  // the two runs write to folders of their own
    for (std::size_t at; (at = text.find("out4")) != std::string::npos;) text.replace(at, 4, "out1");
    return text;
  };
  EXPECT_EQ(sameFolder(results[1].err), results[0].err);
  EXPECT_NE(results[0].err.find("n3.cur: cannot be read"), std::string::npos) << results[0].err;
  EXPECT_NE(results[0].err.find("n1.ico goes"), std::string::npos) << results[0].err;
  EXPECT_EQ(outputs[1], outputs[0]);
  EXPECT_EQ(Run({"convert", "--to", dir_.Path().string(), "--jobs", "0", files[0]}).status, 2);
}

// A batch whose fourth file is a pipe: once the batch has opened it, the test holds its other
// end, so that the batch waits there until Unblock(). Started with SIGINT ignored when asked,
// as a background job of a script is.
class BlockedBatch {
 public:
  BlockedBatch(const fs::path& dir, bool ignoreInterrupts) : in_(dir / "in"), out_(dir / "out") {
    fs::create_directory(in_);
    fs::create_directory(out_);
    IconImage image = MakeNewImage(64, 64, 32);
    image.Pixels.At(3, 5) = MakeColour(200, 10, 30);
    const Bytes icon = BuildIconFile({image}, 1);
    std::vector<std::string> args = {BRIXEL_CLI_PATH, "convert", "--to", out_.string(), "--jobs", "2"};
    for (int i = 0; i < 8; ++i) {
      args.push_back((in_ / ("n" + std::to_string(i) + ".ico")).string());
      if (i == 3) {
        pipe_ = args.back();
        EXPECT_EQ(mkfifo(pipe_.c_str(), 0600), 0);
      } else {
        test::WriteBytes(args.back(), icon);
      }
    }
    test::WriteBytes(out_ / "n0.ico", kOld);
    const std::string said = (dir / "said.txt").string();
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    said_ = said;
    child_ = fork();
    if (child_ == 0) {
      const int saidFd = open(said.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      if (saidFd < 0 || dup2(saidFd, STDERR_FILENO) < 0) _exit(127);
      if (ignoreInterrupts) signal(SIGINT, SIG_IGN);
      execv(argv[0], argv.data());
      _exit(127);
    }
    // Opening the writing end without waiting succeeds once the batch is opening the pipe.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (writer_ < 0 && std::chrono::steady_clock::now() < deadline) {
      writer_ = open(pipe_.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
      if (writer_ < 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_GE(writer_, 0) << "the batch never opened the pipe";
  }
  ~BlockedBatch() { Unblock(); }
  BlockedBatch(const BlockedBatch&) = delete;
  BlockedBatch& operator=(const BlockedBatch&) = delete;

  // Sends Ctrl+C while the batch waits at the pipe, then lets the pipe end, empty (that file
  // fails); how the program ended (waitpid's status).
  int InterruptAndWait() {
    // Never kill(-1): without a child there is nothing to interrupt.
    if (child_ <= 0) {
      ADD_FAILURE() << "the batch did not start";
      return -1;
    }
    EXPECT_EQ(kill(child_, SIGINT), 0);
    Unblock();
    int status = 0;
    EXPECT_EQ(waitpid(child_, &status, 0), child_);
    return status;
  }
  std::vector<std::string> Written() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(out_)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  Bytes OldTarget() const { return ReadWholeFile((out_ / "n0.ico").string()); }
  std::string Said() const {
    const Bytes said = ReadWholeFile(said_);
    return std::string(said.begin(), said.end());
  }

  const Bytes kOld = {'o', 'l', 'd'};

 private:
  void Unblock() {
    if (writer_ >= 0) close(writer_);
    writer_ = -1;
  }

  fs::path in_;
  fs::path out_;
  std::string pipe_;
  std::string said_;
  pid_t child_ = -1;
  int writer_ = -1;
};

// Ctrl+C in the middle of a batch: the files written so far go, no target changes, and the
// program ends by the signal, so that a script running it stops too.
TEST_F(CliTest, AnInterruptedBatchChangesNoFileAndEndsByTheSignal) {
  BlockedBatch batch(dir_.Path(), false);
  const int status = batch.InterruptAndWait();
  ASSERT_TRUE(WIFSIGNALED(status)) << "exited with " << WEXITSTATUS(status) << ": " << batch.Said();
  EXPECT_EQ(WTERMSIG(status), SIGINT);
  EXPECT_EQ(batch.Written(), std::vector<std::string>{"n0.ico"});
  EXPECT_EQ(batch.OldTarget(), batch.kOld);
  EXPECT_NE(batch.Said().find("interrupted (Interrupt): no file was written"), std::string::npos) << batch.Said();
}

// Started with Ctrl+C ignored (nohup, a script's background job), the batch ignores it too.
TEST_F(CliTest, ABatchStartedIgnoringInterruptsRunsToTheEnd) {
  BlockedBatch batch(dir_.Path(), true);
  const int status = batch.InterruptAndWait();
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 1) << "the pipe is no icon";
  EXPECT_EQ(batch.Written().size(), 7u);
  EXPECT_NE(batch.OldTarget(), batch.kOld);
}

}  // namespace
}  // namespace brixel
