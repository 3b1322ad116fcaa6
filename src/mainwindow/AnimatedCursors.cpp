#include "AnimatedCursors.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "Documents.h"
#include "IcoFile.h"

namespace brixel {
namespace {

struct Link {
  const cIco* icon = nullptr;
  const cAni* cursor = nullptr;
};

std::vector<Link>& Links() {
  static std::vector<Link> links;
  return links;
}

template <class Document>
int IndexOf(const DocumentList<Document>& list, const Document* document) {
  for (std::size_t i = 0; i < list.Items.size(); ++i) {
    if (list.Items[i].get() == document) return static_cast<int>(i);
  }
  return -1;
}

// A link holds while both documents are open and the icon document still carries the
// cursor's path (Save As to an icon or cursor ends it).
bool Holds(const Link& link) {
  return IndexOf(IconDocuments, link.icon) >= 0 && IndexOf(AniDocuments, link.cursor) >= 0 &&
         link.icon->IconPath() == link.cursor->IconPath();
}

void Forget(const cIco* document) {
  std::erase_if(Links(), [&](const Link& link) { return link.icon == document || !Holds(link); });
}

void CloseAnimation(const cAni* cursor) {
  AniDocuments.Items.erase(AniDocuments.Items.begin() + IndexOf(AniDocuments, cursor));
  AniDocuments.Current = static_cast<std::int16_t>(AniDocuments.Count() - 1);
}

}  // namespace

void AdoptAnimatedCursor() {
  const cAni& cursor = *AniDocuments.Items.back();
  auto icon = std::make_unique<cIco>();
  for (const IconImage& frame : cursor.Images()) icon->AppendImage(frame);
  icon->IconPath(cursor.IconPath());
  icon->Changed(false);
  Links().push_back({icon.get(), &cursor});
  IconDocuments.Items.push_back(std::move(icon));
}

cAni* AnimationOf(const cIco* document) {
  for (const Link& link : Links()) {
    if (link.icon == document && Holds(link)) {
      return AniDocuments.Items[static_cast<std::size_t>(IndexOf(AniDocuments, link.cursor))].get();
    }
  }
  return nullptr;
}

cAni* PrepareAnimationSave(const cIco& document, const std::string& path) {
  cAni* cursor = AnimationOf(&document);
  if (DocumentType(path) != "ANI") return cursor;
  if (cursor) {
    cursor->ReplaceFrames(document.Images());
  } else {
    // Saved as an animated cursor for the first time: its images as frames at the default rate.
    auto made = std::make_unique<cAni>();
    for (const IconImage& image : document.Images()) made->AppendFrame({image});
    made->DisplayRate(kDefaultAniRate);
    cursor = made.get();
    AniDocuments.Items.push_back(std::move(made));
  }
  AniDocuments.Current = static_cast<std::int16_t>(IndexOf(AniDocuments, cursor));
  return cursor;
}

void AnimationSaved(cIco& document, const std::string& path, cAni* cursor, bool saved) {
  const bool linked = saved ? DocumentType(path) == "ANI" : AnimationOf(&document) == cursor;
  if (saved) document.IconPath(path);
  Forget(&document);
  if (!cursor) return;
  if (linked) {
    cursor->NewIcon(false);
    Links().push_back({&document, cursor});
    return;
  }
  // Saved under another type, or a new cursor whose save failed: no document shows it.
  CloseAnimation(cursor);
}

void CloseAnimationOf(const cIco* document) {
  if (const cAni* cursor = AnimationOf(document)) CloseAnimation(cursor);
  Forget(document);
}

}  // namespace brixel
