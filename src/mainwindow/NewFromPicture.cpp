#include "NewFromPicture.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <iterator>

#include "Documents.h"
#include "FileCommands.h"
#include "FrmNewFromPicture.h"
#include "IconSet.h"
#include "PathText.h"
#include "ProposedNames.h"
#include "Prompter.h"
#include "TrapErrors.h"
#include "cCommonDialog.h"

namespace brixel {
namespace {

constexpr const char* kLabel = "PrjBrixel.FrmMain.MnuFileNewFromPicture_Click";
constexpr const char* kFilter =
    "Pictures|*.png;*.svg;*.bmp;*.jpg;*.jpeg;*.gif;*.wmf;*.emf;*.ico;*.cur|SVG Drawings (svg)|*.svg|"
    "All Files|*";

}  // namespace

void NewIconFromPicture(DocumentWindow& window) {
  const QString fileName = cCommonDialog().OpenExistingFile(kFilter, window.DialogOwner());
  if (fileName.isEmpty()) return;
  const std::string path = LocalPath(fileName);
  // Every size the dialog offers, read (or rendered) once.
  const std::vector<int> sizes(std::begin(FrmNewFromPicture::kSizes), std::end(FrmNewFromPicture::kSizes));
  IconSetSource source;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const bool read = Trap(kLabel, [&] { source = IconSetSquares(path, sizes); });
  QApplication::restoreOverrideCursor();
  if (!read || source.Squares.size() != sizes.size()) return;
  if (!source.Warnings.empty()) {
    std::string leftOut;
    for (const std::string& warning : source.Warnings) leftOut += (leftOut.empty() ? "" : "\n") + warning;
    ShowMessage("New Icon from Picture", leftOut, Prompter::Icon::Information);
  }

  FrmNewFromPicture dialog(QFileInfo(fileName).fileName(), source.Width, source.Height, window.DialogOwner());
  if (dialog.exec() != QDialog::Accepted) return;
  std::vector<IconImage> images;
  const bool made = Trap(kLabel, [&] {
    for (const IconSetEntry& entry : dialog.Images()) {
      const auto at = std::find(sizes.begin(), sizes.end(), entry.Size);
      if (at == sizes.end()) continue;
      const RgbaPicture& square = source.Squares[static_cast<std::size_t>(at - sizes.begin())];
      IconImage image = IconSetImageAtDepth(square, entry.BitDepth, dialog.Reduction());
      if (dialog.Cursor()) PlaceHotSpot(image, dialog.HotSpot().X, dialog.HotSpot().Y, source.Width, source.Height);
      else GiveIconDirectoryValues(image);
      images.push_back(std::move(image));
    }
  });
  if (!made || images.empty()) return;
  NewDocument();
  IconDocuments.Current = static_cast<std::int16_t>(IconDocuments.Count() - 1);
  cIco& document = IconDocuments.CurrentDocument();
  for (IconImage& image : images) document.AppendImage(std::move(image));
  if (dialog.Cursor()) {
    // A cursor is edited as one (its hot spots shown and kept) under a name it is not yet
    // saved as: the picture's, as a .cur beside it, which Save asks to confirm.
    document.IconPath(QFileInfo(fileName).dir().filePath(QFileInfo(fileName).completeBaseName() + ".cur").toStdString());
    ProposeName(document);
  }
  // Made, not yet saved: closing asks to save it.
  document.Changed(true);
  window.ShowCount();
}

}  // namespace brixel
