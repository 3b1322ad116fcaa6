#include "FrmOptions.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "EditGrid.h"
#include "FileAssociations.h"
#include "RegEdit.h"
#include "ToolChoice.h"
#include "Version.h"

namespace brixel {
namespace {

// In the order they are shown. A new option needs one line here.
constexpr FrmOptions::OptionBox kOptionBoxes[] = {
    {"ChkWindow", "Open in same window", &Settings::SameWindow},
    {"ChkHotSpot", "Show HotSpot Indicator", &Settings::HotSpot},
    {"ChkLinkMouse", "Link mouse buttons together", &Settings::LinkMouse},
    {"ChkFlood", "Allow diagonal floodfill", &Settings::FloodFill},
    {"ChkGrid", "Show drawing grid", &Settings::Grid},
    {"ChkAlpha", "Keep alpha channel", &Settings::KeepAlpha},
    {"ChkConfirmSave", "Confirm saves with a message", &Settings::ConfirmSaves},
};

// Unticking the icons removes the class's open command; unticking the cursors its whole
// "Shell" key. Neither touches the extension, the class's name or its DefaultIcon.
constexpr FrmOptions::AssociationBox kAssociationBoxes[] = {
    {"ChkIco", "Associate icons (.ico)", ".ico", kIconClass, "icofile\\shell\\open\\command", ""},
    {"ChkCur", "Associate cursors (.cur)", ".cur", kCursorClass, "curfile", "Shell"},
};

// Whether the desktop opens files of the extension with the program now.
bool IsDesktopDefault(std::string_view extension, const std::filesystem::path& program) {
  for (const AssociatedType& type : kAssociatedTypes) {
    if (type.extension == extension) {
      return IsDefaultApplication(type.mimeType, program, std::string(kAppId) + ".desktop");
    }
  }
  return false;
}

QCheckBox* MakeBox(const char* name, const char* caption, QWidget* parent) {
  auto* box = new QCheckBox(caption, parent);
  box->setObjectName(name);
  return box;
}

}  // namespace

std::span<const FrmOptions::OptionBox> FrmOptions::OptionBoxes() { return kOptionBoxes; }

std::span<const FrmOptions::AssociationBox> FrmOptions::AssociationBoxes() {
  return kAssociationBoxes;
}

FrmOptions::FrmOptions(Settings& options, ToolChoice& tools, EditGrid& grid,
                       std::filesystem::path program, QWidget* owner)
    : QDialog(owner), options_(options), tools_(tools), grid_(grid), program_(std::move(program)) {
  setObjectName("FrmOptions");
  setWindowTitle("Brixel Options");
  setModal(true);

  auto* layout = new QVBoxLayout(this);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  layout->setSpacing(6);

  // Option boxes are ticked only after every box is connected: ticking runs the click
  // action, which sets the option it shows. Association boxes show what the desktop does now
  // and are ticked without their action: opening the dialog must not take the default
  // application back from a program the user chose since.
  std::vector<std::pair<QCheckBox*, bool>> ticks;
  for (const OptionBox& option : kOptionBoxes) {
    QCheckBox* box = MakeBox(option.name, option.caption, this);
    layout->addWidget(box);
    connect(box, &QCheckBox::toggled, this,
            [this, member = option.option](bool ticked) { options_.*member = ticked; });
    ticks.emplace_back(box, options_.*option.option);
  }

  auto* line = new QFrame(this);
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);
  layout->addSpacing(4);
  layout->addWidget(line);
  auto* heading = new QLabel("Shell Associations (Opens on double click in explorer)", this);
  heading->setObjectName("Label1");
  layout->addWidget(heading);

  for (const AssociationBox& association : kAssociationBoxes) {
    QCheckBox* box = MakeBox(association.name, association.caption, this);
    layout->addWidget(box);
    connect(box, &QCheckBox::toggled, this, [this, &association](bool ticked) {
      if (ticked) {
        AssociateFileType(association.extension, association.fileClass, "", program_);
      } else {
        DeleteKey(HKEY_CLASSES_ROOT, association.removePath, association.removeSubKey);
      }
    });
    const QSignalBlocker quiet(box);
    box->setChecked(IsDesktopDefault(association.extension, program_));
  }

  auto* buttons = new QDialogButtonBox(this);
  QPushButton* done = buttons->addButton("Done", QDialogButtonBox::AcceptRole);
  done->setObjectName("CmdDone");
  done->setDefault(true);
  connect(done, &QPushButton::clicked, this, &QDialog::accept);
  layout->addSpacing(6);
  layout->addWidget(buttons);

  for (const auto& [box, ticked] : ticks) box->setChecked(ticked);
}

void FrmOptions::done(int result) {
  ApplyToMainWindow();
  QDialog::done(result);
}

void FrmOptions::ApplyToMainWindow() {
  if (options_.LinkMouse) {
    const std::int16_t left = options_.ButtonTool[kLeftButtonTool];
    options_.ButtonTool[kRightButtonTool] = left;
    options_.ButtonTool[kMiddleButtonTool] = left;
  }
  tools_.ShowSettings();  // the buttons' tool pictures and the fill switch's picture
  grid_.DrawMainIcon();
}

}  // namespace brixel
