#include <gtest/gtest.h>

#include "IsolatedHome.h"
#include "RegEdit.h"
#include "ShellAssociations.h"

namespace brixel {
namespace {

class ShellAssociationsTest : public ::testing::Test {
 protected:
  test::IsolatedHome home_;
  test::BackEndFixture backEnd_;
};

TEST_F(ShellAssociationsTest, TheRegisteredProgramIsTheFileNameInTheClasssCommand) {
  EXPECT_EQ(GetAssociatedExe(kCursorClass), "");
  const auto registered = [](const std::string& command) {
    AssociateFileType(".cur", kCursorClass, command, "/usr/bin/brixel");
    return GetAssociatedExe(kCursorClass);
  };
  EXPECT_EQ(registered(""), "brixel");
  EXPECT_EQ(registered("\"/opt/Other Editor/editor\" \"%1\""), "editor");
  EXPECT_EQ(registered("\"/usr/bin/brixel\" --viewer \"%1\""), "brixel");
  EXPECT_EQ(registered("/opt/My Tools/brixel-viewer %1"), "brixel-viewer");
  EXPECT_EQ(registered("brixel %1"), "brixel");
  // The file name counts, not the folder, and without regard to case.
  EXPECT_TRUE(IsAssociatedWith(kCursorClass, "/opt/BRIXEL"));
  EXPECT_FALSE(IsAssociatedWith(kCursorClass, "/usr/bin/brix"));
  EXPECT_FALSE(IsAssociatedWith(kIconClass, "/usr/bin/brixel"));

  // The class key's own default value names the class whose command counts.
  AssociateFileType(".cur", "othercursor", "/usr/bin/viewer %1");
  SetClassValue(kCursorClass, "", std::string("othercursor"), REG_SZ);
  EXPECT_EQ(GetAssociatedExe(kCursorClass), "viewer");
  EXPECT_TRUE(backEnd_.prompter.shown.empty());
}

TEST_F(ShellAssociationsTest, WithoutAProgramNothingIsWritten) {
  AssociateFileType(".ico", kIconClass, "", "");
  EXPECT_EQ(RegistryText(QueryValue(HKEY_CLASSES_ROOT, ".ico", "")), "");
  EXPECT_EQ(ProgramPath().filename(), "settings_tests");
  EXPECT_EQ(DefaultOpenCommand("/brixel"), "/brixel %1");
}

// After a package upgrade the running program's file is gone and /proc/self/exe says so; the
// file installed at the same path is the program to register.
TEST(ProgramPathTest, AReplacedProgramIsTheFileAtItsPath) {
  test::TempDir dir;
  const std::string program = (dir / "brixel").string();
  EXPECT_EQ(InstalledProgramPath(program + " (deleted)"), program);
  EXPECT_EQ(InstalledProgramPath(program), program);
  test::WriteBytes(dir / "odd (deleted)", {});  // a program really named so keeps its name
  EXPECT_EQ(InstalledProgramPath((dir / "odd (deleted)").string()), dir / "odd (deleted)");
}

}  // namespace
}  // namespace brixel
