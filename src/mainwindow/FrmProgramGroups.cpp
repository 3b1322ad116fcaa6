#include "FrmProgramGroups.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScrollArea>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <vector>

#include "ErrorReport.h"
#include "ProgramIcons.h"
#include "Prompter.h"
#include "Thumbnail.h"
#include "TrapErrors.h"

namespace brixel {
namespace {

constexpr int kLargestPreview = 128;
constexpr int kPreviewGap = 8;

// Answers every message the readers would show while a preview is made: a preview asks nothing.
QString SizesText(const std::vector<GroupImageSize>& sizes) {
  QStringList parts;
  for (const GroupImageSize& size : sizes) {
    parts << QString("%1x%2 %3 bit").arg(size.width).arg(size.height).arg(size.bitCount);
  }
  return parts.join(", ");
}

// The images the group shows (an animated one's first step) at their own sizes (those larger
// than the preview made smaller), side by side along their bottoms; an empty picture when none
// can be read.
QPixmap GroupPicture(const ProgramIcons& program, std::size_t group) {
  std::vector<IconImage> images;
  {
    ReportCollector reports;
    SilentPrompter quiet;
    const ScopedThreadPrompter silent(quiet);
    try {
      images = ShownImages(program.Rebuild(group).file);
    } catch (const BackEndError&) {
    } catch (const ReportedFailure&) {
    }
  }
  std::vector<QImage> pictures;
  int width = 0;
  int height = 0;
  for (const IconImage& image : images) {
    // Each image at its own size, so that the sizes compare; only the largest are made smaller.
    const RgbaPicture shown = MakeThumbnail(image, std::min<int>(kLargestPreview, std::max<int>(image.Width, image.Height())));
    pictures.push_back(
        QImage(shown.Rgba.data(), shown.Width, shown.Height, shown.Width * 4, QImage::Format_RGBA8888).copy());
    width += shown.Width + (pictures.size() > 1 ? kPreviewGap : 0);
    height = std::max(height, shown.Height);
  }
  if (pictures.empty()) return QPixmap();
  QPixmap joined(width, height);
  joined.fill(Qt::transparent);
  QPainter painter(&joined);
  int x = 0;
  for (const QImage& picture : pictures) {
    painter.drawImage(x, height - picture.height(), picture);
    x += picture.width() + kPreviewGap;
  }
  return joined;
}

}  // namespace

FrmProgramGroups::FrmProgramGroups(const std::string& path, const ProgramIcons& program, QWidget* parent)
    : QDialog(parent), program_(program) {
  setObjectName("FrmProgramGroups");
  const QString fileName = QFileInfo(QString::fromStdString(path)).fileName();
  setWindowTitle("Open from " + fileName);
  auto* layout = new QVBoxLayout(this);
  auto* caption = new QLabel(QString("Icons and cursors in %1 (%2):").arg(fileName, QString::fromStdString(program.Format())), this);
  layout->addWidget(caption);

  groups_ = new QTreeWidget(this);
  groups_->setObjectName("LstGroups");
  groups_->setHeaderLabels({"Name", "Language", "Type", "Sizes"});
  groups_->setRootIsDecorated(false);
  groups_->setUniformRowHeights(true);
  for (std::size_t i = 0; i < program.Groups().size(); ++i) {
    const ResourceGroup& group = program.Groups()[i];
    auto* row = new QTreeWidgetItem(groups_, {QString::fromStdString(group.name.Text()), QString::number(group.language),
                                              GroupKindName(group.kind), SizesText(program.ImageSizes(i))});
    row->setData(0, Qt::UserRole, static_cast<qulonglong>(i));
    row->setToolTip(3, row->text(3));  // a group of many images says more than the column shows
  }
  for (int column = 0; column < 3; ++column) groups_->resizeColumnToContents(column);
  layout->addWidget(groups_, 1);

  preview_ = new QLabel(this);
  preview_->setObjectName("PicPreview");
  preview_->setAlignment(Qt::AlignCenter);
  auto* scroller = new QScrollArea(this);
  scroller->setWidget(preview_);
  scroller->setWidgetResizable(true);
  scroller->setMinimumHeight(kLargestPreview + 2 * kPreviewGap);
  layout->addWidget(scroller);

  auto* buttons = new QDialogButtonBox(this);
  QPushButton* open = buttons->addButton("Open", QDialogButtonBox::AcceptRole);
  open->setObjectName("CmdOK");
  open->setDefault(true);
  QPushButton* cancel = buttons->addButton("Cancel", QDialogButtonBox::RejectRole);
  cancel->setObjectName("CmdCancel");
  connect(open, &QPushButton::clicked, this, &FrmProgramGroups::Take);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(groups_, &QTreeWidget::itemDoubleClicked, this, &FrmProgramGroups::Take);
  connect(groups_, &QTreeWidget::currentItemChanged, this, &FrmProgramGroups::ShowPreview);
  layout->addWidget(buttons);

  // The group the program shows as its own icon comes selected.
  if (const std::optional<std::size_t> first = program.FirstIconGroup()) {
    groups_->setCurrentItem(groups_->topLevelItem(static_cast<int>(*first)));
  }
  resize(720, 520);
}

void FrmProgramGroups::ShowPreview() {
  const QTreeWidgetItem* row = groups_->currentItem();
  preview_->setPixmap(row ? GroupPicture(program_, row->data(0, Qt::UserRole).toULongLong()) : QPixmap());
  if (row && preview_->pixmap().isNull()) preview_->setText("This group cannot be shown.");
}

void FrmProgramGroups::Take() {
  const QTreeWidgetItem* row = groups_->currentItem();
  if (!row) return;
  chosen_ = row->data(0, Qt::UserRole).toULongLong();
  accept();
}

std::optional<std::size_t> FrmProgramGroups::Choose(const std::string& path, const ProgramIcons& program,
                                                    QWidget* parent) {
  FrmProgramGroups dialog(path, program, parent);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.Chosen();
}

}  // namespace brixel
