#pragma once

#include <algorithm>
#include <cstdint>
#include <string>

#include "Documents.h"
#include "IcoFile.h"

namespace brixel {

// The icon document the main window shows, or nullptr when none is open.
inline cIco* CurrentIconDocument() {
  return IconDocuments.HasCurrent() ? &IconDocuments.CurrentDocument() : nullptr;
}

// Whether the document holds an image of that index that can be shown and edited (not an
// entry kept as its file holds it).
inline bool HasImage(const ImageDocument* document, std::int16_t index) {
  return document && index >= 0 && index < document->IconCount() && !document->Image(index).IsKept();
}

// The image to show for index: itself when it can be shown, else the nearest one after it that
// can, else the nearest before it; index itself when none can.
inline std::int16_t ShownImageNear(const ImageDocument& document, std::int16_t index) {
  for (std::int16_t i = std::max<std::int16_t>(index, 0); i < document.IconCount(); ++i) {
    if (!document.Image(i).IsKept()) return i;
  }
  for (std::int16_t i = static_cast<std::int16_t>(std::min<int>(index, document.IconCount()) - 1); i >= 0; --i) {
    if (!document.Image(i).IsKept()) return i;
  }
  return index;
}

// Whether the document is edited as a cursor, whose images have a hot spot: its path ends in
// .cur or .ani. An icon's images carry their planes and bit count in the hot spot's place.
inline bool IsCursorDocument(const ImageDocument* document) {
  if (!document || document->IconPath().empty()) return false;
  const std::string type = DocumentType(document->IconPath());
  return type == "CUR" || type == "ANI";
}

}  // namespace brixel
