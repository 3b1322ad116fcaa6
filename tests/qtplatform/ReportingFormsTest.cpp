#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "ContactAddress.h"
#include "ErrorReport.h"
#include "FrmError.h"
#include "Prompter.h"
#include "QtErrorReporter.h"
#include "QtPrompter.h"

namespace brixel {
namespace {

// Runs inspect on the modal window once it is up; a window inspect leaves open is closed.
void WhenModalShows(std::function<void(QWidget*)> inspect) {
  QTimer::singleShot(0, [inspect] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr) {
      ADD_FAILURE() << "no modal window";
      return;
    }
    inspect(modal);
    if (modal->isVisible()) modal->close();
  });
}

class ReportingFormsTest : public ::testing::Test {
 protected:
  ~ReportingFormsTest() override {
    SetProgramIdentity(saved_);
    InstallErrorReporter(nullptr);
    InstallPrompter(nullptr);
  }
  ProgramIdentity saved_ = CurrentProgramIdentity();
};

TEST_F(ReportingFormsTest, ErrorReportAppearsInTheErrorFormAndTheCallerGoesOn) {
  SetProgramIdentity({"P", 1, 2, 3});
  QtErrorReporter reporter;
  InstallErrorReporter(&reporter);
  QString heading, title, report, contact;
  WhenModalShows([&](QWidget* modal) {
    ASSERT_EQ(modal->objectName(), "FrmError");
    title = modal->windowTitle();
    heading = modal->findChild<QLabel*>("LblHeading")->text();
    report = modal->findChild<QPlainTextEdit*>("TxtErr")->toPlainText();
    contact = modal->findChild<QLabel*>("LblContact")->text();
    modal->findChild<QPushButton*>("CmdOK")->click();
  });
  ReportError(5, "D", "PrjBackEnd.cIco.OpenIcon");
  EXPECT_EQ(title, "Error");
  EXPECT_EQ(heading, "An unexpected error has occured in P");
  EXPECT_EQ(report.split('\n'),
            (QStringList{"P : Version - 1.2", "Build 3", "Error Number: 5", "D", "",
                         "Debug Information:", "PrjBackEnd.cIco.OpenIcon"}));
  EXPECT_TRUE(contact.contains(QString("mailto:") + kContactAddress));
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(ReportingFormsTest, QuestionsOfferYesAndNoOnlyAndClosingAnswersNo) {
  QtPrompter prompter;
  QString title, text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QMessageBox::StandardButtons buttons;
  WhenModalShows([&](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    ASSERT_NE(box, nullptr);
    title = box->windowTitle();
    text = box->text();
    icon = box->icon();
    buttons = box->standardButtons();
    box->close();
  });
  const Prompter::Answer answer =
      prompter.Ask("Read Only File", "Overwrite anyway?", Prompter::Icon::Exclamation,
                   Prompter::Buttons::YesNo);
  EXPECT_EQ(answer, Prompter::Answer::No);
  EXPECT_EQ(title, "Read Only File");
  EXPECT_EQ(text, "Overwrite anyway?");
  EXPECT_EQ(icon, QMessageBox::Warning);
  EXPECT_EQ(buttons, QMessageBox::Yes | QMessageBox::No);

  WhenModalShows([](QWidget* modal) {
    qobject_cast<QMessageBox*>(modal)->button(QMessageBox::Yes)->click();
  });
  EXPECT_EQ(prompter.Ask("T", "Q", Prompter::Icon::None, Prompter::Buttons::YesNo),
            Prompter::Answer::Yes);
}

TEST_F(ReportingFormsTest, MessagesShowTheirIconAndOnlyOk) {
  QtPrompter prompter;
  InstallPrompter(&prompter);
  QMessageBox::Icon icon = QMessageBox::Warning;
  QMessageBox::StandardButtons buttons;
  WhenModalShows([&](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    icon = box->icon();
    buttons = box->standardButtons();
    box->button(QMessageBox::Ok)->click();
  });
  ShowMessage("Export Completed", "Image exported as a.bmp", Prompter::Icon::Information);
  EXPECT_EQ(icon, QMessageBox::Information);
  EXPECT_EQ(buttons, QMessageBox::Ok);

  WhenModalShows([&](QWidget* modal) {
    icon = qobject_cast<QMessageBox*>(modal)->icon();
    modal->close();
  });
  ShowMessage(kApplicationTitle, "Error: Creating Key!");
  EXPECT_EQ(icon, QMessageBox::NoIcon);
}

}  // namespace
}  // namespace brixel
