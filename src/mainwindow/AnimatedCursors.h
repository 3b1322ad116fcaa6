#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

namespace brixel {

class cAni;
class cIco;

// An animated cursor open in the window is edited as the icon document of its frames, so that
// the grid, tools, undo and image commands work on it unchanged; its cAni stays in
// AniDocuments beside it with the rates, sequence and texts. The two are linked while the
// icon document carries the cursor's path.

// Adopts the animated cursor last added to AniDocuments: a new icon document of its frames,
// unchanged and under the cursor's path, linked to it.
void AdoptAnimatedCursor();

// The animated cursor linked to document, or nullptr.
cAni* AnimationOf(const cIco* document);

// Before document is saved to path: the animated cursor the save concerns, found before the
// save moves anything to the new path (nullptr for a document not linked and a path of
// another type). For an .ani path the document's images become its frames (a new cursor at
// the default rate for a document not linked), and it is made the current animated cursor
// for SaveDocument.
cAni* PrepareAnimationSave(const cIco& document, const std::string& path);

// After the save, done or not: a saved document carries path and stays linked to cursor only
// when saved as an animated cursor; a cursor that no document shows any more (the document
// was saved under another type, or its first save as an animated cursor failed) is closed.
void AnimationSaved(cIco& document, const std::string& path, cAni* cursor, bool saved);

// Closes the animated cursor linked to document, if any.
void CloseAnimationOf(const cIco* document);

// The image commands keep a linked cursor's timeline in step with the document's images.
// After the document's last count images were appended as one new frame: the cursor takes
// them as a frame of its own at its default rate (cAni::AppendFrame). Nothing for a document
// that is not linked.
void FrameAppended(const cIco& document, std::size_t count);
// Before the document's image index is deleted: the cursor's frame loses it, and a frame left
// without images goes with its steps (cAni::RemoveImage).
void ImageDeleting(const cIco& document, std::int16_t index);
// The images [first, last) of the frame that holds image index of a linked cursor; for a
// document that is not linked, the image alone.
std::pair<std::int16_t, std::int16_t> FrameOfImage(const cIco& document, std::int16_t index);
// The first frame of a linked cursor all of whose images can be shown, as [first, last);
// {0, 0} when there is none or the document is not linked.
std::pair<std::int16_t, std::int16_t> ModelFrame(const cIco& document);

}  // namespace brixel
