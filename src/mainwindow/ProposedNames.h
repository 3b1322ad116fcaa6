#pragma once

namespace brixel {

class cIco;

// A document read from a file the editor does not write (a Linux cursor) carries as its path
// only the name proposed for it: Save asks for a name, starting from that one, until the
// document has been saved.
void ProposeName(const cIco& document);
// Whether the document still carries the path proposed for it, never saved under it.
bool HasProposedName(const cIco& document);
// After a save: the document's path is its own.
void ForgetProposedName(const cIco& document);

}  // namespace brixel
