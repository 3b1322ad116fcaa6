#include <gtest/gtest.h>

#include "FileAssociations.h"
#include "IsolatedHome.h"
#include "RegEdit.h"
#include "ShellAssociations.h"

namespace brixel {
namespace {

class FileAssociationsTest : public ::testing::Test {
 protected:
  static void Associate(const std::string& extension, const std::string& fileClass,
                        const std::string& command) {
    AssociateFileType(extension, fileClass, command);
  }
  static std::string Query(const std::string& path) {
    return StripNulls(RegistryText(QueryValue(HKEY_CLASSES_ROOT, path, "")));
  }
  std::filesystem::path DesktopFile(const std::string& fileClass) const {
    return home_.Data() / "applications" / DesktopIdForClass(fileClass);
  }
  std::filesystem::path MimeApps() const { return home_.Config() / "mimeapps.list"; }

  test::IsolatedHome home_;
  test::BackEndFixture backEnd_;
};

TEST_F(FileAssociationsTest, AssociatingWritesTheLayoutADesktopEntryAndTheDefaultApplication) {
  Associate(".ico", "icofile", "/opt/My Tools/brixel %1");
  EXPECT_EQ(Query(".ico"), "icofile");
  EXPECT_EQ(Query("icofile"), "icofile");
  EXPECT_EQ(Query("icofile\\shell\\open\\command"), "/opt/My Tools/brixel %1");
  EXPECT_EQ(Query("icofile\\DefaultIcon"), "%1");

  const std::string entry = test::ReadText(DesktopFile("icofile"));
  EXPECT_TRUE(entry.starts_with("[Desktop Entry]\n"));
  EXPECT_NE(entry.find("\nExec=\"/opt/My Tools/brixel\" %f\n"), std::string::npos);
  EXPECT_NE(entry.find("\nMimeType=image/vnd.microsoft.icon;\n"), std::string::npos);
  EXPECT_EQ(test::ReadText(MimeApps()),
            "[Default Applications]\nimage/vnd.microsoft.icon=brixel-icofile.desktop;\n");
  EXPECT_TRUE(backEnd_.prompter.shown.empty());
}

TEST_F(FileAssociationsTest, UnassociatingRemovesOnlyOurEntriesAndKeepsTheRestOfTheLayout) {
  std::filesystem::create_directories(home_.Config());
  const std::string before =
      "# mine\n[Added Associations]\nimage/png=viewer.desktop;\n\n"
      "[Default Applications]\nimage/vnd.microsoft.icon=viewer.desktop;other.desktop;\ntext/plain=editor.desktop;\n\n"
      "[Removed Associations]\n";
  test::WriteBytes(MimeApps(), Bytes(before.begin(), before.end()));
  const std::string foreign = "[Desktop Entry]\nType=Application\nExec=other\n";
  std::filesystem::create_directories(home_.Data() / "applications");
  test::WriteBytes(home_.Data() / "applications" / "brixel-viewer.desktop", Bytes(foreign.begin(), foreign.end()));

  Associate(".ico", "icofile", "/usr/bin/brixel %1");
  Associate(".cur", "curfile", "/usr/bin/brixel %1");
  EXPECT_NE(test::ReadText(MimeApps()).find("\nimage/vnd.microsoft.icon=brixel-icofile.desktop;viewer.desktop;"
                                            "other.desktop;\ntext/plain=editor.desktop;\n"
                                            "image/x-win-bitmap=brixel-curfile.desktop;\n\n[Removed"),
            std::string::npos);

  DeleteKey(HKEY_CLASSES_ROOT, "icofile\\shell\\open\\command", "");
  DeleteKey(HKEY_CLASSES_ROOT, "curfile", "Shell");
  EXPECT_TRUE(backEnd_.prompter.shown.empty());
  EXPECT_EQ(test::ReadText(MimeApps()), before);
  EXPECT_FALSE(std::filesystem::exists(DesktopFile("icofile")));
  EXPECT_FALSE(std::filesystem::exists(DesktopFile("curfile")));
  EXPECT_EQ(test::ReadText(home_.Data() / "applications" / "brixel-viewer.desktop"), foreign);
  EXPECT_EQ(Query("icofile"), "icofile");
  EXPECT_EQ(Query("icofile\\shell\\open\\command"), "");
  EXPECT_EQ(Query("curfile\\DefaultIcon"), "%1");
}

TEST_F(FileAssociationsTest, AnotherClassForTheExtensionMovesTheDefaultToIt) {
  Associate(".ico", "icofile", "/usr/bin/brixel %1");
  Associate(".ico", "brixelicon", "/usr/bin/brixel %1");
  EXPECT_FALSE(std::filesystem::exists(DesktopFile("icofile")));
  EXPECT_TRUE(std::filesystem::exists(DesktopFile("brixelicon")));
  EXPECT_EQ(test::ReadText(MimeApps()), "[Default Applications]\nimage/vnd.microsoft.icon=brixel-brixelicon.desktop;\n");
}

TEST_F(FileAssociationsTest, ADesktopThatCannotBeWrittenLeavesTheClassesRootAsItWas) {
  std::filesystem::create_directories(home_.Data());
  test::WriteBytes(home_.Data() / "applications", Bytes{'x'});  // no folder possible
  Associate(".ico", "icofile", "/usr/bin/brixel %1");
  EXPECT_EQ(Query("icofile\\shell\\open\\command"), "");
  EXPECT_TRUE(backEnd_.prompter.shown.empty());  // class writes fail silently
  DeleteKey(HKEY_CLASSES_ROOT, ".ico", "");
  EXPECT_TRUE(backEnd_.prompter.shown.empty());
}

TEST(ExecFromCommandTest, QuotesTheProgramAsDesktopEntriesNeedIt) {
  EXPECT_EQ(ExecFromCommand("\"/opt/a b/brixel\" \"%1\""), "\"/opt/a b/brixel\" %f");
  EXPECT_EQ(ExecFromCommand("/opt/100%/brixel"), "/opt/100%%/brixel %f");
  EXPECT_EQ(ExecFromCommand("/opt/$x/bri\"xel %1"), "\"/opt/\\\\$x/bri\\\\\"xel\" %f");
  EXPECT_EQ(ExecFromCommand("/usr/bin/brixel\n%1"), std::nullopt);
  EXPECT_EQ(ExecFromCommand("\"%1\""), std::nullopt);
}

TEST(UpdateMimeAppsTest, AddsTheGroupWhenMissingAndDropsEmptiedEntries) {
  EXPECT_EQ(UpdateMimeApps("[Added Associations]\na=b.desktop;", {{"x/y", "brixel-c.desktop"}}),
            "[Added Associations]\na=b.desktop;\n\n[Default Applications]\nx/y=brixel-c.desktop;\n");
  EXPECT_EQ(UpdateMimeApps("[Default Applications]\nx/y=brixel-c.desktop;\nz=q;\n", {{"x/y", ""}}),
            "[Default Applications]\nz=q;\n");
}

}  // namespace
}  // namespace brixel
