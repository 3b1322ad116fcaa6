#include "SizeDepthChecks.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <algorithm>

namespace brixel {

SizeDepthChecks::SizeDepthChecks(std::vector<int> sizes, std::vector<std::pair<int, QString>> depths,
                                 QWidget* parent)
    : QWidget(parent), sizes_(std::move(sizes)), depths_(std::move(depths)) {
  std::sort(sizes_.begin(), sizes_.end());
  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setHorizontalSpacing(10);
  grid->setVerticalSpacing(2);
  for (std::size_t column = 0; column < depths_.size(); ++column) {
    auto* heading = new QLabel(depths_[column].second, this);
    heading->setAlignment(Qt::AlignCenter);
    grid->addWidget(heading, 0, static_cast<int>(column) + 1);
  }
  for (std::size_t row = 0; row < sizes_.size(); ++row) {
    const int size = sizes_[row];
    grid->addWidget(new QLabel(QString("%1 x %1").arg(size), this), static_cast<int>(row) + 1, 0);
    for (std::size_t column = 0; column < depths_.size(); ++column) {
      auto* box = new QCheckBox(this);
      box->setObjectName(QString("Chk%1x%2").arg(size).arg(depths_[column].first));
      box->setAccessibleName(QString("%1 x %1, %2").arg(size).arg(depths_[column].second));
      connect(box, &QCheckBox::toggled, this, &SizeDepthChecks::Changed);
      grid->addWidget(box, static_cast<int>(row) + 1, static_cast<int>(column) + 1, Qt::AlignCenter);
      boxes_.push_back(box);
    }
  }
}

QCheckBox* SizeDepthChecks::Box(int size, int bitDepth) const {
  const auto row = std::find(sizes_.begin(), sizes_.end(), size);
  const auto column = std::find_if(depths_.begin(), depths_.end(),
                                   [bitDepth](const auto& depth) { return depth.first == bitDepth; });
  if (row == sizes_.end() || column == depths_.end()) return nullptr;
  return boxes_[static_cast<std::size_t>(row - sizes_.begin()) * depths_.size() +
                static_cast<std::size_t>(column - depths_.begin())];
}

void SizeDepthChecks::SetChecked(const std::vector<IconSetEntry>& images) {
  for (QCheckBox* box : boxes_) box->setChecked(false);
  for (const IconSetEntry& image : images) {
    if (QCheckBox* box = Box(image.Size, image.BitDepth)) box->setChecked(true);
  }
}

std::vector<IconSetEntry> SizeDepthChecks::Checked() const {
  std::vector<IconSetEntry> images;
  for (const int size : sizes_) {
    for (const auto& depth : depths_) {
      if (Box(size, depth.first)->isChecked()) images.push_back({size, depth.first});
    }
  }
  return images;
}

}  // namespace brixel
