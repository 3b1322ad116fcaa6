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

// Before document is saved to path: for an .ani path, the document's images become the
// frames of its animated cursor (a new one for a document not linked), which is made the
// current animated cursor for SaveDocument. Nothing for other paths.
void PrepareAnimationSave(const cIco& document, const std::string& path);

// After document was saved to path: it carries path, and stays linked to its animated cursor
// only when saved as one.
void AnimationSaved(cIco& document, const std::string& path);

// Closes the animated cursor linked to document, if any.
void CloseAnimationOf(const cIco* document);

}  // namespace brixel
