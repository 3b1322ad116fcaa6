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

void PrepareAnimationSave(const cIco& document, const std::string& path) {
  if (DocumentType(path) != "ANI") return;
  cAni* cursor = AnimationOf(&document);
  // Without a linked cursor SaveDocument writes the icon document's images as frames.
  AniDocuments.Current = static_cast<std::int16_t>(cursor ? IndexOf(AniDocuments, cursor) : -1);
  if (cursor) cursor->ReplaceFrames(document.Images());
}

void AnimationSaved(cIco& document, const std::string& path) {
  const bool animated = DocumentType(path) == "ANI";
  cAni* cursor = AnimationOf(&document);
  document.IconPath(path);
  if (!animated) {
    Forget(&document);
    return;
  }
  if (cursor) return;  // saved under path, which it carries now too
  // Saved as an animated cursor for the first time: its frames at the default rate.
  Forget(&document);
  auto made = std::make_unique<cAni>();
  for (const IconImage& image : document.Images()) made->AppendFrame({image});
  made->DisplayRate(kDefaultAniRate);
  made->IconPath(path);
  made->NewIcon(false);
  Links().push_back({&document, made.get()});
  AniDocuments.Items.push_back(std::move(made));
}

void CloseAnimationOf(const cIco* document) {
  if (const cAni* cursor = AnimationOf(document)) {
    AniDocuments.Items.erase(AniDocuments.Items.begin() + IndexOf(AniDocuments, cursor));
    AniDocuments.Current = static_cast<std::int16_t>(AniDocuments.Count() - 1);
  }
  Forget(document);
}

}  // namespace brixel
