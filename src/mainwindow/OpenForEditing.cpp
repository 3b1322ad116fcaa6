#include "OpenForEditing.h"

#include <memory>

#include "AnimatedCursors.h"
#include "Documents.h"

namespace brixel {

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
