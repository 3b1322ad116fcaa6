#include <QApplication>
#include <QCheckBox>
#include <QTimer>
#include <map>

#include "DrawingTool.h"
#include "EditGrid.h"
#include "GridView.h"
#include "FileAssociations.h"
#include "FrmOptions.h"
#include "IsolatedHome.h"
#include "MainWindowFixture.h"
#include "PictureBox.h"
#include "RegEdit.h"
#include "ToolBarPicture.h"
#include "ToolChoice.h"
#include "kzrToolBar.h"

namespace brixel {
namespace {

// The options dialog over the main window, with the classes root and the desktop's files in a
// temporary home of their own.
class OptionsTest : public test::MainWindowTest {
 protected:
  std::unique_ptr<FrmOptions> OpenOptions(const std::filesystem::path& program) {
    auto dialog = std::make_unique<FrmOptions>(window_->Options(), window_->Tools(),
                                               window_->Grid(), program, window_.get());
    dialog->show();
    return dialog;
  }
  static QCheckBox* Box(const FrmOptions& dialog, const char* name) {
    auto* box = dialog.findChild<QCheckBox*>(name);
    EXPECT_NE(box, nullptr) << name;
    return box;
  }
  static std::string Command(const std::string& fileClass) {
    return StripNulls(RegistryText(QueryValue(HKEY_CLASSES_ROOT, fileClass + "\\shell\\open\\command", "")));
  }
  static std::string Value(const std::string& path) {
    return StripNulls(RegistryText(QueryValue(HKEY_CLASSES_ROOT, path, "")));
  }
  std::filesystem::path DesktopEntry(const std::string& fileClass) const {
    return home_.Data() / "applications" / DesktopIdForClass(fileClass);
  }

  test::IsolatedHome home_;
};

TEST_F(OptionsTest, TickingAnAssociationRegistersAtOnceAndUntickingRemovesOnlyTheCommand) {
  auto dialog = OpenOptions("/opt/My Tools/brixel");
  EXPECT_EQ(dialog->windowTitle(), "Brixel Options");
  EXPECT_FALSE(Box(*dialog, "ChkIco")->isChecked());
  EXPECT_FALSE(Box(*dialog, "ChkCur")->isChecked());
  EXPECT_FALSE(std::filesystem::exists(home_.Config() / "mimeapps.list"));

  Box(*dialog, "ChkIco")->click();
  EXPECT_EQ(Value(".ico"), "icofile");
  EXPECT_EQ(Command("icofile"), "/opt/My Tools/brixel %1");
  EXPECT_EQ(Value("icofile\\DefaultIcon"), "%1");
  EXPECT_TRUE(std::filesystem::exists(DesktopEntry("icofile")));
  EXPECT_EQ(test::ReadText(home_.Config() / "mimeapps.list"),
            "[Default Applications]\nimage/vnd.microsoft.icon=brixel-icofile.desktop;\n");
  dialog->findChild<QPushButton*>("CmdDone")->click();
  EXPECT_FALSE(dialog->isVisible());

  // Opened again, the box is ticked and nothing is written.
  dialog = OpenOptions("/usr/local/bin/brixel");
  EXPECT_TRUE(Box(*dialog, "ChkIco")->isChecked());
  EXPECT_FALSE(Box(*dialog, "ChkCur")->isChecked());
  EXPECT_EQ(Command("icofile"), "/opt/My Tools/brixel %1");
  EXPECT_EQ(Command("curfile"), "");

  Box(*dialog, "ChkIco")->click();
  EXPECT_EQ(Command("icofile"), "");
  EXPECT_EQ(Value(".ico"), "icofile");
  EXPECT_EQ(Value("icofile"), "icofile");
  EXPECT_EQ(Value("icofile\\DefaultIcon"), "%1");
  EXPECT_FALSE(std::filesystem::exists(DesktopEntry("icofile")));
  EXPECT_TRUE(backEnd_.prompter.shown.empty());
  dialog->close();
  EXPECT_FALSE(OpenOptions("/usr/local/bin/brixel")->findChild<QCheckBox*>("ChkIco")->isChecked());
}

// The desktop's choice wins: a program the user picked in the file manager since stays the
// default when the dialog is opened, and the box says so.
TEST_F(OptionsTest, TheBoxesShowTheDesktopsDefaultAndOpeningChangesNothing) {
  OpenOptions("/usr/bin/brixel")->findChild<QCheckBox*>("ChkIco")->click();
  test::WriteBytes(home_.Data() / "applications" / "viewer.desktop", {});
  const std::string chosen =
      "[Default Applications]\nimage/vnd.microsoft.icon=viewer.desktop;brixel-icofile.desktop;\n";
  test::WriteBytes(home_.Config() / "mimeapps.list", Bytes(chosen.begin(), chosen.end()));

  auto dialog = OpenOptions("/usr/bin/brixel");
  EXPECT_FALSE(Box(*dialog, "ChkIco")->isChecked());
  EXPECT_EQ(test::ReadText(home_.Config() / "mimeapps.list"), chosen);
  dialog->findChild<QPushButton*>("CmdDone")->click();
  EXPECT_EQ(test::ReadText(home_.Config() / "mimeapps.list"), chosen);

  // A default whose desktop entry is not installed does not count; ours, next, does.
  std::filesystem::remove(home_.Data() / "applications" / "viewer.desktop");
  EXPECT_TRUE(OpenOptions("/usr/bin/brixel")->findChild<QCheckBox*>("ChkIco")->isChecked());

  // The current desktop's own list comes before the plain one, and the installed program's
  // entry counts as ours.
  std::filesystem::create_directories(home_.SystemData() / "applications");
  test::WriteBytes(home_.SystemData() / "applications" / "viewer.desktop", {});
  setenv("XDG_CURRENT_DESKTOP", "Test:GNOME", 1);
  const std::string gnome = "[Default Applications]\nimage/vnd.microsoft.icon=viewer.desktop\n";
  test::WriteBytes(home_.Config() / "gnome-mimeapps.list", Bytes(gnome.begin(), gnome.end()));
  dialog = OpenOptions("/usr/bin/brixel");
  EXPECT_FALSE(Box(*dialog, "ChkIco")->isChecked());
  EXPECT_EQ(DefaultApplication("image/vnd.microsoft.icon"), "viewer.desktop");
  EXPECT_TRUE(IsDefaultApplication("image/vnd.microsoft.icon", "/usr/bin/brixel", "viewer.desktop"));
  setenv("XDG_CURRENT_DESKTOP", "", 1);

  // Ticking makes this program the default again.
  Box(*dialog, "ChkIco")->click();
  EXPECT_TRUE(OpenOptions("/usr/bin/brixel")->findChild<QCheckBox*>("ChkIco")->isChecked());
}

TEST_F(OptionsTest, AClassOfAnotherProgramLeavesTheBoxUntickedUntilTicked) {
  AssociateFileType(".cur", kCursorClass, "\"/opt/Other Editor/editor\" \"%1\"");
  auto dialog = OpenOptions("/usr/bin/brixel");
  EXPECT_FALSE(Box(*dialog, "ChkCur")->isChecked());
  EXPECT_EQ(Command("curfile"), "\"/opt/Other Editor/editor\" \"%1\"");

  Box(*dialog, "ChkCur")->click();
  EXPECT_EQ(Command("curfile"), "/usr/bin/brixel %1");
  // Unticking the cursors removes the class's whole Shell key, and nothing else.
  Box(*dialog, "ChkCur")->click();
  EXPECT_EQ(Command("curfile"), "");
  EXPECT_EQ(Value(".cur"), "curfile");
  EXPECT_EQ(Value("curfile\\DefaultIcon"), "%1");
  EXPECT_TRUE(backEnd_.prompter.shown.empty());
  EXPECT_FALSE(std::filesystem::exists(DesktopEntry("curfile")));
}

TEST_F(OptionsTest, OptionBoxesSwitchTheOptionsAndClosingAppliesThemToTheWindow) {
  Trigger("MnuFileNew");
  GridView& grid = window_->Grid().View();
  // The new image is transparent: white cells with a diagonal, parted by the grid lines.
  const auto onLine = [&] { return grid.Rendered().pixel(15, 3); };
  const auto inCell = [&] { return grid.Rendered().pixel(10, 3); };
  ASSERT_NE(onLine(), inCell());
  window_->Tools().Choose(1, kToolFilledRect);
  Settings& options = window_->Options();
  ASSERT_TRUE(options.Grid);
  ASSERT_FALSE(options.LinkMouse);

  // Through the menu: tick two boxes, untick the grid and close with the window's close box.
  std::map<std::string, bool> ticked;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<FrmOptions*>(QApplication::activeModalWidget());
    if (!dialog) return;
    for (const FrmOptions::OptionBox& box : FrmOptions::OptionBoxes()) {
      ticked[box.name] = dialog->findChild<QCheckBox*>(box.name)->isChecked();
    }
    for (const char* name : {"ChkLinkMouse", "ChkFlood", "ChkGrid"}) {
      dialog->findChild<QCheckBox*>(name)->click();
    }
    dialog->close();
  });
  Trigger("MnuToolOpt");
  // The boxes opened as the options were.
  EXPECT_FALSE(ticked["ChkWindow"]);
  EXPECT_TRUE(ticked["ChkHotSpot"]);
  EXPECT_FALSE(ticked["ChkLinkMouse"]);
  EXPECT_FALSE(ticked["ChkFlood"]);
  EXPECT_TRUE(ticked["ChkGrid"]);

  EXPECT_TRUE(options.LinkMouse);
  EXPECT_TRUE(options.FloodFill);
  EXPECT_FALSE(options.Grid);
  EXPECT_EQ(options.ButtonTool[kRightButtonTool], kToolFilledRect);
  EXPECT_EQ(options.ButtonTool[kMiddleButtonTool], kToolFilledRect);
  auto* drawing = Find<kzrToolBar>("TBDrawing");
  const QImage filledRect = drawing->ButtonPicture(kToolFilledRect).pixmap.toImage();
  for (const char* name : {"PctTool1", "PctTool2", "PctTool4"}) {
    EXPECT_EQ(Find<QLabel>(name)->pixmap().toImage(), filledRect) << name;
  }
  EXPECT_EQ(drawing->ButtonPicture(kToolFlood).source, ShippedPicturePath("PctDiag"));
  EXPECT_EQ(onLine(), inCell()) << "the grid is drawn again without its lines";
}

}  // namespace
}  // namespace brixel
