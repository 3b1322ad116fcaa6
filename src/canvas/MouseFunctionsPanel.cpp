#include "MouseFunctionsPanel.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "PictureBox.h"
#include "QtColour.h"

namespace brixel {
namespace {

struct ButtonColumn {
  int code;
  const char* caption;
};

// Left to right: left, middle, right button.
constexpr ButtonColumn kColumns[] = {{1, "Left"}, {4, "Mid"}, {2, "Right"}};

// A thin sunken border around a cell.
QFrame* Framed(QWidget* content, QWidget* parent) {
  auto* frame = new QFrame(parent);
  frame->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  auto* layout = new QVBoxLayout(frame);
  layout->setContentsMargins(1, 1, 1, 1);
  content->setParent(frame);
  layout->addWidget(content);
  return frame;
}

}  // namespace

MouseFunctionsPanel::MouseFunctionsPanel(QWidget* parent) : QGroupBox("Mouse Functions", parent) {
  setObjectName("Frame1");
  auto* layout = new QGridLayout(this);
  layout->setHorizontalSpacing(10);
  layout->setVerticalSpacing(6);

  layout->addWidget(new QLabel("Tool", this), 1, 0);
  auto* colourHeading = new QLabel("Drawing Color", this);
  colourHeading->setObjectName("Label6");
  layout->addWidget(colourHeading, 2, 0);

  const std::int32_t buttonFace = RoleColour(QPalette::Button);
  int column = 1;
  for (const ButtonColumn& button : kColumns) {
    const auto slot = static_cast<std::size_t>(button.code);
    layout->addWidget(new QLabel(button.caption, this), 0, column, Qt::AlignHCenter);

    auto* tool = new QLabel;
    tool->setObjectName(QString("PctTool%1").arg(button.code));
    tool->setFixedSize(kCellSize, kCellSize);
    tool->setAlignment(Qt::AlignCenter);
    tools_[slot] = tool;
    layout->addWidget(Framed(tool, this), 1, column, Qt::AlignHCenter);

    auto* swatch = new PictureBox(kCellSize, kCellSize);
    swatch->setObjectName(QString("PctCol%1").arg(button.code));
    swatch->Surface().BackColor(buttonFace);
    swatch->Surface().Cls();
    swatches_[slot] = swatch;
    layout->addWidget(Framed(swatch, this), 2, column, Qt::AlignHCenter);
    ++column;
  }
  layout->setColumnStretch(4, 1);
}

QLabel* MouseFunctionsPanel::ToolPicture(int buttonCode) const {
  return IsButtonCode(buttonCode) ? tools_[static_cast<std::size_t>(buttonCode)] : nullptr;
}

PictureBox* MouseFunctionsPanel::Swatch(int buttonCode) const {
  return IsButtonCode(buttonCode) ? swatches_[static_cast<std::size_t>(buttonCode)] : nullptr;
}

void MouseFunctionsPanel::SetToolPicture(int buttonCode, const QPixmap& picture) {
  if (QLabel* label = ToolPicture(buttonCode)) label->setPixmap(picture);
}

}  // namespace brixel
