#include "OpenForEditing.h"

#include <memory>

#include "Documents.h"

namespace brixel {
namespace {

void AdoptAnimatedCursor() {
  AniDocuments.Current = static_cast<std::int16_t>(AniDocuments.Count() - 1);
  const cAni& cursor = AniDocuments.CurrentDocument();
  auto icon = std::make_unique<cIco>();
  for (const IconImage& frame : cursor.Images()) {
    icon->AddImage(1, 1, 1, -1);
    icon->Image(static_cast<std::int16_t>(icon->IconCount() - 1)) = frame;
  }
  icon->Changed(true);
  IconDocuments.Items.push_back(std::move(icon));
  AniDocuments.RemoveCurrent();
}

}  // namespace

bool OpenForEditing(const std::string& path) {
  const std::int16_t iconsBefore = IconDocuments.Count();
  const std::int16_t cursorsBefore = AniDocuments.Count();
  if (!OpenDocument(path)) return false;
  if (AniDocuments.Count() > cursorsBefore) {
    AdoptAnimatedCursor();
  } else if (IconDocuments.Count() > iconsBefore) {
    IconDocuments.Items.back()->Changed(false);
  }
  return true;
}

}  // namespace brixel
