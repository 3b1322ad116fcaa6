#pragma once

#include <QObject>
#include <QString>
#include <QUrl>

class QMenu;
class QWidget;

namespace brixel {

// The help topic of the region under the pointer. Each region carries its topic number as the
// property "HelpContextID"; every pointer move over the window gives the window the number of
// the region under the pointer (1000, the window's own, when none), and F1 opens the help file
// at that topic. A menu carries its own topic for F1 while it is open.
class HelpTopics : public QObject {
  Q_OBJECT

 public:
  static constexpr int kWindowTopic = 1000;
  static constexpr const char* kProperty = "HelpContextID";

  explicit HelpTopics(QWidget& window);
  ~HelpTopics() override;

  void Assign(QWidget& region, int topic);
  void Assign(QMenu& menu, int topic);

  // The window's topic now.
  int Current() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  int TopicUnder(QWidget* widget) const;

  QWidget& window_;
};

// The help file: Tessarine.html beside the program, else where the program is installed with
// it (<prefix>/share/brixel); the path beside the program when neither exists.
QString HelpFilePath();
// The file's address at a topic's anchor (the topic number).
QUrl HelpTopicUrl(int topic);
// Opens the help file at the topic in the desktop's browser; a missing file is reported in a
// message box instead.
void OpenHelp(int topic);

}  // namespace brixel
