#pragma once

#include <cstdint>

#include "Documents.h"

namespace brixel {

// The icon document the main window shows, or nullptr when none is open.
inline cIco* CurrentIconDocument() {
  return IconDocuments.HasCurrent() ? &IconDocuments.CurrentDocument() : nullptr;
}

// Whether the document holds an image of that index.
inline bool HasImage(const ImageDocument* document, std::int16_t index) {
  return document && index >= 0 && index < document->IconCount();
}

}  // namespace brixel
