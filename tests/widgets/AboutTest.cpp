#include <gtest/gtest.h>

#include <QDesktopServices>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QUrl>

#include "ContactAddress.h"
#include "ErrorReport.h"
#include "FrmAbout.h"
#include "FrmSplash.h"
#include "Version.h"

namespace brixel {
namespace {

// Stands in for the desktop's mail program.
class MailCatcher : public QObject {
  Q_OBJECT

 public:
  QList<QUrl> opened;

 public slots:
  void Open(const QUrl& url) { opened << url; }
};

class AboutTest : public ::testing::Test {
 protected:
  ~AboutTest() override { SetProgramIdentity(saved_); }
  ProgramIdentity saved_ = CurrentProgramIdentity();
};

TEST_F(AboutTest, VersionTextComesFromTheProgramsVersionNumbers) {
  {
    FrmAbout about;
    EXPECT_EQ(about.findChild<QLabel*>("LblVersion")->text(),
              QString("Brixel - Version %1.%2.%3")
                  .arg(kVersionMajor)
                  .arg(kVersionMinor)
                  .arg(kVersionRevision));
  }
  SetProgramIdentity({"brixel", 1, 22, 333});
  FrmAbout about;
  FrmSplash splash;
  EXPECT_EQ(about.findChild<QLabel*>("LblVersion")->text(), "Brixel - Version 1.22.333");
  EXPECT_EQ(splash.findChild<QLabel*>("LblVersion")->text(), "Brixel - Version 1.22.333");
  EXPECT_EQ(about.windowTitle(), "About Brixel");
}

TEST_F(AboutTest, ContactLabelOpensTheMailProgramAndOkCloses) {
  MailCatcher mail;
  QDesktopServices::setUrlHandler("mailto", &mail, "Open");
  FrmAbout about;
  about.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&about));
  auto* contact = about.findChild<QLabel*>("LblContact");
  ASSERT_NE(contact, nullptr);
  EXPECT_EQ(contact->text(), kContactAddress);
  QTest::mouseClick(contact, Qt::LeftButton);
  QDesktopServices::unsetUrlHandler("mailto");
  ASSERT_EQ(mail.opened.size(), 1);
  EXPECT_EQ(mail.opened[0], QUrl(QString("mailto:") + kContactAddress));

  about.findChild<QPushButton*>("CmdOK")->click();
  EXPECT_FALSE(about.isVisible());
  EXPECT_EQ(about.result(), QDialog::Accepted);
}

TEST_F(AboutTest, SplashIsPaintedWhenShown) {
  FrmSplash splash;
  splash.ShowAndPaint();
  EXPECT_TRUE(splash.isVisible());
  EXPECT_TRUE(splash.windowFlags().testFlag(Qt::SplashScreen));
  // The card's dark ground shows: the text was laid out and painted, not left blank.
  const QImage shot = splash.grab().toImage();
  EXPECT_EQ(QColor(shot.pixel(shot.width() - 3, shot.height() / 2)), QColor("#1E293B"));
}

}  // namespace
}  // namespace brixel

#include "AboutTest.moc"
