#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFileDialog>
#include <QLibrary>
#include <QLineEdit>
#include <QPalette>
#include <QTest>
#include <QTimer>
#include <functional>

#include "PrintDialogs.h"
#include "QtColour.h"
#include "QtCommonDialogBackend.h"
#include "ScriptedDialogBackend.h"
#include "TestSupport.h"
#include "cCommonDialog.h"

namespace brixel {
namespace {

TEST(FileFilter, PipesAndColonsSeparateDescriptionsFromPatterns) {
  using F = std::vector<FileFilter>;
  EXPECT_EQ(ParseFileFilter("Bitmap File (bmp)|*.bmp|Cursor (cur)|*.cur"),
            (F{{"Bitmap File (bmp)", "*.bmp"}, {"Cursor (cur)", "*.cur"}}));
  EXPECT_EQ(ParseFileFilter("Icons:*.ico;*.cur|Any| *.*"), (F{{"Icons", "*.ico;*.cur"}, {"Any", " *.*"}}));
  // An empty piece ends the list; a description without a pattern is dropped.
  EXPECT_EQ(ParseFileFilter("A|*.a||B|*.b"), (F{{"A", "*.a"}}));
  EXPECT_EQ(ParseFileFilter("A|*.a|B"), (F{{"A", "*.a"}}));
  EXPECT_EQ(QtNameFilter({"Supported Files", "*.ico;*.cur"}), "Supported Files (*.ico *.cur)");

  const FileFilter cursor{"Cursor (cur)", "*.cur"}, supported{"Supported Files", "*.ico;*.cur"};
  EXPECT_EQ(DefaultSuffixFor(&cursor, ".ico"), "cur");
  EXPECT_EQ(DefaultSuffixFor(&supported, ".ico"), "ico");
  EXPECT_EQ(DefaultSuffixFor(&cursor, ""), "");  // no default: no completion at all
  EXPECT_EQ(CompleteFileName("/d/picture.ico", "cur"), "/d/picture.ico");
  EXPECT_EQ(CompleteFileName("/d.x/picture", "ico"), "/d.x/picture.ico");
}

class CommonDialogTest : public ::testing::Test {
 protected:
  CommonDialogTest() { InstallCommonDialogBackend(&backend); }
  ~CommonDialogTest() override { InstallCommonDialogBackend(nullptr); }
  test::ScriptedDialogBackend backend;
};

TEST_F(CommonDialogTest, CancelClearsTheOutputsAndFailureIsToldApartUntilTheNextCall) {
  cCommonDialog dialog;
  QString name = "old.ico", title = "old.ico", filter = "Icon (ico)|*.ico";
  qint32 index = 1, flags = 0x8;
  bool readOnly = true;
  EXPECT_FALSE(dialog.VBGetOpenFileName(name, title, true, false, readOnly, false, filter, index, "", "", "",
                                        nullptr, flags));
  EXPECT_EQ(name, "");
  EXPECT_EQ(title, "");
  EXPECT_EQ(filter, "");
  EXPECT_EQ(index, -1);
  EXPECT_EQ(flags, 0);
  EXPECT_TRUE(readOnly);
  EXPECT_EQ(dialog.ExtendedError(), 0);

  backend.file = [](const FileDialogRequest&, FileDialogAnswer&) { return DialogResult::Failed(0x3003); };
  EXPECT_FALSE(dialog.VBGetSaveFileName(name, title, false, filter, index, "", "", "", nullptr, flags));
  EXPECT_EQ(dialog.ExtendedError(), 0x3003);
  backend.file = nullptr;
  EXPECT_FALSE(dialog.VBGetSaveFileName(name, title, false, filter, index, "", "", "", nullptr, flags));
  EXPECT_EQ(dialog.ExtendedError(), 0);
}

TEST_F(CommonDialogTest, ConfirmedDialogsReturnTheChosenFileAndType) {
  backend.file = [](const FileDialogRequest& request, FileDialogAnswer& answer) {
    answer.files = {request.save ? "/out/picture.bmp" : "/pictures/arrow.cur"};
    answer.selectedFilter = request.save ? request.selectedFilter : 2;
    answer.readOnly = true;
    return DialogResult::Accepted();
  };
  cCommonDialog dialog;
  QString name, title, filter = "Supported Files|*.ico;*.cur|Icon Files (ico)|*.ico|Cursor (cur)|*.cur";
  qint32 index = 1, flags = 0x20 | 0x40 | 0x8;  // hook and template bits go, others stay
  bool readOnly = false;
  ASSERT_TRUE(dialog.VBGetOpenFileName(name, title, true, false, readOnly, false, filter, index, "/start",
                                       "Open icon", "", nullptr, flags));
  EXPECT_EQ(backend.fileRequests.at(0).flags, fileflag::kFileMustExist | 0x8);
  EXPECT_EQ(name, "/pictures/arrow.cur");
  EXPECT_EQ(title, "arrow.cur");
  EXPECT_EQ(index, 3);
  EXPECT_EQ(filter, QString("Cursor (cur)") + QChar(0) + "*.cur");
  EXPECT_TRUE(readOnly);
  EXPECT_EQ(flags, fileflag::kFileMustExist | 0x8 | fileflag::kReadOnly);

  // Save hides the read-only box and asks before replacing; an index beyond the list
  // selects the first type.
  filter = "Bitmap File (bmp)|*.bmp|Cursor (cur)|*.cur";
  index = 7;
  flags = 0;
  ASSERT_TRUE(dialog.VBGetSaveFileName(name, title, true, filter, index, "", "", "bmp", nullptr, flags));
  EXPECT_EQ(backend.fileRequests.at(1).flags, fileflag::kOverwritePrompt | fileflag::kHideReadOnly);
  EXPECT_EQ(backend.fileRequests.at(1).defaultExt, "bmp");
  EXPECT_EQ(index, 1);
  EXPECT_EQ(title, "picture.bmp");
}

TEST_F(CommonDialogTest, CustomColoursStartFromSystemColoursAndStayWithTheirInstance) {
  const QPalette saved = QApplication::palette();
  QPalette palette = saved;
  palette.setColor(QPalette::Button, QColor(1, 2, 3));
  QApplication::setPalette(palette);

  backend.colour = [](const ColourDialogRequest& request, CustomColours& custom, qint32& chosen) {
    custom[3] = 0x123456;
    chosen = request.colour + 1;
    return DialogResult::Accepted();
  };
  cCommonDialog first;
  cCommonDialog second;
  qint32 colour = 254;
  ASSERT_TRUE(first.VBChooseColor(colour, true, false, false, nullptr));
  EXPECT_EQ(colour, 255);
  EXPECT_EQ(backend.offeredCustomColours.at(0)[15], ColourFromRgb(qRgb(1, 2, 3)));  // button face

  // The user's change is offered again by the same instance, and only by it.
  ASSERT_TRUE(first.VBChooseColor(colour, false, true, false, nullptr));
  EXPECT_EQ(backend.offeredCustomColours.at(1)[3], 0x123456);
  EXPECT_EQ(first.CustomColor(3), 0x123456);
  EXPECT_EQ(second.CustomColor(3), SystemColour(3));

  backend.colour = nullptr;
  EXPECT_FALSE(second.VBChooseColor(colour, true, false, false, nullptr));
  EXPECT_EQ(colour, -1);
  QApplication::setPalette(saved);
}

TEST_F(CommonDialogTest, ChosenFontSizesStayWithinTheLimits) {
  backend.font = [](QFont& font) {
    font.setPointSize(72);
    return DialogResult::Accepted();
  };
  cCommonDialog dialog;
  QFont font("Sans", 10);
  ASSERT_TRUE(dialog.VBChooseFont(font, 8, 24));
  EXPECT_EQ(font.pointSize(), 24);
}

// Runs act on the file dialog once it is up.
void WhenFileDialogShows(std::function<void(QFileDialog*)> act) {
  QTimer::singleShot(0, [act] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (!dialog) {
      ADD_FAILURE() << "no file dialog";
      if (QWidget* other = QApplication::activeModalWidget()) other->close();
      return;
    }
    act(dialog);
    if (dialog->isVisible()) dialog->reject();
  });
}

// The real dialogs, driven as a user would.
class QtFileDialogTest : public ::testing::Test {
 protected:
  QtFileDialogTest() { InstallCommonDialogBackend(nullptr); }
  test::TempDir dir;
  QString Dir() const { return QString::fromStdString(dir.Path().string()); }
};

TEST_F(QtFileDialogTest, TypedSaveNameGetsTheExtensionOfTheChosenType) {
  WhenFileDialogShows([&](QFileDialog* dialog) {
    EXPECT_EQ(dialog->findChild<QCheckBox*>("ChkReadOnly"), nullptr);
    auto* types = dialog->findChild<QComboBox*>("fileTypeCombo");
    auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
    ASSERT_TRUE(types && name);
    types->setFocus();
    QTest::keyClick(types, Qt::Key_Down);  // the user picks "Cursor (cur)"
    name->setText("arrow");
    static_cast<QDialog*>(dialog)->accept();  // as the dialog's own button does
  });
  cCommonDialog dialog;
  QString name, title, filter = "Icon (ico)|*.ico|Cursor (cur)|*.cur";
  qint32 index = 1, flags = 0;
  ASSERT_TRUE(dialog.VBGetSaveFileName(name, title, true, filter, index, Dir(), "", ".ico", nullptr, flags));
  EXPECT_EQ(name, Dir() + "/arrow.cur");
  EXPECT_EQ(index, 2);
}

TEST_F(QtFileDialogTest, OpenShowsTheReadOnlyBoxUnlessHidden) {
  test::WriteBytes(dir / "face.ico", {0, 0, 1, 0});
  for (const bool hide : {false, true}) {
    bool hadBox = false;
    WhenFileDialogShows([&](QFileDialog* dialog) {
      auto* box = dialog->findChild<QCheckBox*>("ChkReadOnly");
      hadBox = box != nullptr;
      if (!box) return;
      box->setChecked(true);
      dialog->selectFile(Dir() + "/face.ico");
      static_cast<QDialog*>(dialog)->accept();  // as the dialog's own button does
    });
    cCommonDialog dialog;
    QString name, title, filter = "Icons|*.ico";
    qint32 index = 1, flags = 0;
    bool readOnly = false;
    EXPECT_EQ(dialog.VBGetOpenFileName(name, title, true, false, readOnly, hide, filter, index, Dir(), "", "",
                                       nullptr, flags),
              !hide);
    EXPECT_EQ(hadBox, !hide);
    EXPECT_EQ(readOnly, !hide);
  }
}

}  // namespace
}  // namespace brixel

namespace brixel {
namespace {

// Cancels whatever modal dialog comes up while it lives.
class ModalCanceller {
 public:
  ModalCanceller() {
    QObject::connect(&timer_, &QTimer::timeout, [] {
      if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) dialog->reject();
    });
    timer_.start(20);
  }

 private:
  QTimer timer_;
};

TEST(PrintDialogs, TheirModuleLoadsWhenTheyAreShown) {
  ASSERT_NE(LoadPrintDialogs(), nullptr) << "brixel-print.so beside the test program";
  const ModalCanceller canceller;
  QtCommonDialogBackend dialogs;
  PrintSettings print;
  PrinterProperties printer;
  // A machine without a printer gets the dialogs' "no printer" answer instead of the dialog.
  const DialogResult printed = dialogs.Print(nullptr, print, printer);
  EXPECT_TRUE(printed.kind == DialogResult::Kind::Cancelled ||
              (printed.kind == DialogResult::Kind::Failed && printed.error == 0x1008))
      << "error " << printed.error;
  PageSetupSettings page;
  EXPECT_EQ(dialogs.PageSetup(nullptr, page).kind, DialogResult::Kind::Cancelled);

  // A module of another version gives nothing to this program.
  QLibrary module(QCoreApplication::applicationDirPath() + '/' + kPrintModuleFile);
  ASSERT_TRUE(module.load());
  const auto entry = reinterpret_cast<PrintModuleEntry>(module.resolve(kPrintModuleEntry));
  ASSERT_NE(entry, nullptr);
  EXPECT_NE(entry(kPrintModuleVersion), nullptr);
  EXPECT_EQ(entry(kPrintModuleVersion + 1), nullptr);
}

}  // namespace
}  // namespace brixel
