#pragma once

#include <QDialog>
#include <filesystem>
#include <span>

#include "Settings.h"
#include "ShellAssociations.h"

class QCheckBox;

namespace brixel {

class EditGrid;
class ToolChoice;

// "Brixel Options": a box for each editor option, which switches the option in memory at
// once, and a box for each shell association, which registers or unregisters the program at
// once. Boxes are ticked on opening by running their click action, so an association found on
// opening is written again with the program's current path. Closing the dialog, by Done or
// otherwise, applies the options to the main window: linked mouse buttons take the left
// button's tool, the fill switch its picture, and the grid is drawn again.
class FrmOptions : public QDialog {
  Q_OBJECT

 public:
  // An option box: its name, caption and the option it switches.
  struct OptionBox {
    const char* name;
    const char* caption;
    bool Settings::*option;
  };
  // An association box: the extension it associates with the file class, and the key that
  // unticking removes (path and sub key, as DeleteKey takes them).
  struct AssociationBox {
    const char* name;
    const char* caption;
    const char* extension;
    const char* fileClass;
    const char* removePath;
    const char* removeSubKey;
  };
  static std::span<const OptionBox> OptionBoxes();
  static std::span<const AssociationBox> AssociationBoxes();

  // program: whose file name an association must name to count as ours, and whose path a
  // new association registers.
  FrmOptions(Settings& options, ToolChoice& tools, EditGrid& grid,
             std::filesystem::path program = ProgramPath(), QWidget* owner = nullptr);

  void done(int result) override;

 private:
  void ApplyToMainWindow();

  Settings& options_;
  ToolChoice& tools_;
  EditGrid& grid_;
  std::filesystem::path program_;
};

}  // namespace brixel
