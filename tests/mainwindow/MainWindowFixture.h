#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "AniTestFiles.h"
#include "Documents.h"
#include "FrmImport.h"
#include "FrmMain.h"
#include "RecoveryFolder.h"
#include "ScriptedDialogBackend.h"
#include "TestSupport.h"
#include "XdgPaths.h"

namespace brixel::test {

// A shown main window with a recording error reporter, a scripted prompter and scripted file
// dialogs, empty document lists and no stored settings.
class MainWindowTest : public ::testing::Test {
 protected:
  MainWindowTest() {
    IconDocuments.Clear();
    AniDocuments.Clear();
    std::filesystem::remove_all(SettingsFolder());
    std::filesystem::remove_all(RecoveryHome());  // copies left by earlier tests' windows
    InstallCommonDialogBackend(&dialogs_);
    // Each test's import dialog starts from the defaults, whatever an earlier one chose.
    FrmImport::ForgetChoices();
    OpenWindow();
  }
  ~MainWindowTest() override {
    window_.reset();
    InstallCommonDialogBackend(nullptr);
    IconDocuments.Clear();
    AniDocuments.Clear();
  }

  void OpenWindow() {
    window_ = std::make_unique<FrmMain>();
    window_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
  }

  template <class T>
  T* Find(const QString& name) const {
    T* found = window_->findChild<T*>(name);
    EXPECT_NE(found, nullptr) << name.toStdString();
    return found;
  }
  QString Text(const QString& label) const { return Find<QLabel>(label)->text(); }
  bool Enabled(const QString& name) const { return Find<QWidget>(name)->isEnabled(); }
  void Trigger(const QString& action) { Find<QAction>(action)->trigger(); }

  // The next file dialog picks path.
  void AnswerFileDialog(const std::filesystem::path& path) {
    dialogs_.file = [path](const FileDialogRequest&, FileDialogAnswer& answer) {
      answer.files = {QString::fromStdString(path.string())};
      answer.selectedFilter = 0;
      return DialogResult::Accepted();
    };
  }

  // An icon file of these images, written by our own back end.
  static std::filesystem::path WriteIcon(const std::filesystem::path& path,
                                         const std::vector<IconImage>& images) {
    WriteBytes(path, BuildIconFile(images, 1));
    return path;
  }
  void HandOverFile(const std::filesystem::path& path) {
    window_->HandOver(QString::fromStdString(path.string()));
  }

  // The texts of the message boxes shown so far.
  std::vector<std::string> PromptTexts() const {
    std::vector<std::string> texts;
    for (const auto& shown : backEnd_.prompter.shown) texts.push_back(shown.text);
    return texts;
  }

  BackEndFixture backEnd_;
  ScriptedDialogBackend dialogs_;
  TempDir dir_;
  std::unique_ptr<FrmMain> window_;
};

}  // namespace brixel::test
