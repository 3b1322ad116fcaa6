#pragma once

#include <string>

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

}  // namespace brixel
