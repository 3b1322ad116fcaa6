#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "cAni.h"
#include "cIco.h"

namespace brixel {

// An application-wide list of open documents with the index of the current one.
template <class Document>
struct DocumentList {
  std::vector<std::unique_ptr<Document>> Items;
  std::int16_t Current = 0;

  std::int16_t Count() const { return static_cast<std::int16_t>(Items.size()); }
  bool HasCurrent() const { return Current >= 0 && Current < Count(); }
  Document& CurrentDocument() { return *Items.at(static_cast<std::size_t>(Current)); }
  void Clear() {
    Items.clear();
    Current = 0;
  }

  // Removes the current document; the index stays below the count.
  void RemoveCurrent() {
    if (!HasCurrent()) return;
    Items.erase(Items.begin() + Current);
    if (Current >= Count()) Current = static_cast<std::int16_t>(Count() - 1);
  }
};

extern DocumentList<cIco> IconDocuments;
extern DocumentList<cAni> AniDocuments;

// Appends a new, empty icon document (no image yet, NewIcon true, Changed false).
void NewDocument();

// Opens path into the list its type selects; only a successful open is added.
bool OpenDocument(const std::string& path);

// Whether OpenDocument opens path as an icon document: icons, cursors and macOS icons (.icns,
// or a file of any name that holds one).
bool OpensAsIconDocument(const std::string& path);

// Saves the current document of the list that path's type selects. An .ani path with no
// animated cursor open saves the current icon document as one, each image a frame.
bool SaveDocument(const std::string& path);

// Closes the current document of the list that path's type (or fallbackPath's, when path is
// empty) selects.
void CloseDocument(const std::string& path, const std::string& fallbackPath);

}  // namespace brixel
