#pragma once

#include <QDialog>
#include <cstddef>
#include <optional>
#include <string>

class QLabel;
class QTreeWidget;

namespace brixel {

class ProgramIcons;

// Which icon or cursor group of a Windows program or library to open: a list of its groups
// (LstGroups: name or number, language, type and the sizes its directory gives) and a preview
// of the selected group's images side by side (PicPreview). Open (CmdOK) or a double click
// takes the selected group; Cancel (CmdCancel) takes none.
class FrmProgramGroups : public QDialog {
  Q_OBJECT

 public:
  FrmProgramGroups(const std::string& path, const ProgramIcons& program, QWidget* parent = nullptr);

  // The group taken, once the dialog was accepted.
  std::optional<std::size_t> Chosen() const { return chosen_; }

  // The editor's chooser: runs the dialog over parent.
  static std::optional<std::size_t> Choose(const std::string& path, const ProgramIcons& program, QWidget* parent);

 private:
  void ShowPreview();
  void Take();

  const ProgramIcons& program_;
  QTreeWidget* groups_;
  QLabel* preview_;
  std::optional<std::size_t> chosen_;
};

}  // namespace brixel
