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

void FrameAppended(const cIco& document, std::size_t count) {
  cAni* cursor = AnimationOf(&document);
  const std::vector<IconImage>& images = document.Images();
  if (!cursor || count == 0 || count > images.size()) return;
  const auto split = images.end() - static_cast<std::ptrdiff_t>(count);
  // The frames as they are edited now, then the new one.
  cursor->ReplaceFrames(std::vector<IconImage>(images.begin(), split));
  cursor->AppendFrame(std::vector<IconImage>(split, images.end()));
}

void ImageDeleting(const cIco& document, std::int16_t index) {
  cAni* cursor = AnimationOf(&document);
  if (!cursor || index < 0 || index >= document.IconCount()) return;
  cursor->ReplaceFrames(document.Images());
  cursor->RemoveImage(static_cast<std::size_t>(index));
}

namespace {

// Where each frame of a linked cursor starts, with the image count after the last, for the
// images its timeline accounts for (those the document had before a command appended any);
// empty for a document that is not linked.
std::vector<std::size_t> FrameStarts(const cIco& document) {
  const cAni* cursor = AnimationOf(&document);
  if (!cursor || cursor->Images().size() > document.Images().size()) return {};
  return AniFrameStarts(cursor->Info(), cursor->Images().size());
}

}  // namespace

std::pair<std::int16_t, std::int16_t> FrameOfImage(const cIco& document, std::int16_t index) {
  const std::vector<std::size_t> starts = FrameStarts(document);
  for (std::size_t f = 0; f + 1 < starts.size(); ++f) {
    if (static_cast<std::size_t>(index) >= starts[f] && static_cast<std::size_t>(index) < starts[f + 1]) {
      return {static_cast<std::int16_t>(starts[f]), static_cast<std::int16_t>(starts[f + 1])};
    }
  }
  return {index, static_cast<std::int16_t>(index + 1)};
}

std::pair<std::int16_t, std::int16_t> ModelFrame(const cIco& document) {
  const std::vector<std::size_t> starts = FrameStarts(document);
  for (std::size_t f = 0; f + 1 < starts.size(); ++f) {
    const auto first = document.Images().begin() + static_cast<std::ptrdiff_t>(starts[f]);
    const auto last = document.Images().begin() + static_cast<std::ptrdiff_t>(starts[f + 1]);
    if (std::none_of(first, last, [](const IconImage& image) { return image.IsKept(); })) {
      return {static_cast<std::int16_t>(starts[f]), static_cast<std::int16_t>(starts[f + 1])};
    }
  }
  return {0, 0};
}

}  // namespace brixel
