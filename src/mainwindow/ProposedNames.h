#pragma once

#include <memory>
#include <string>

namespace brixel {

class cAni;
class cIco;

// A document read from a file the editor does not write (a Linux cursor) carries as its path
// only the name proposed for it: Save asks for a name, starting from that one, until the
// document has been saved.
void ProposeName(const cIco& document);
// Whether the document still carries the path proposed for it, never saved under it.
bool HasProposedName(const cIco& document);
// After a save: the document's path is its own.
void ForgetProposedName(const cIco& document);

// Adds a document read from such a file to the lists, unchanged, under the path proposed for
// it (ProposeName): an animated cursor as the editor adopts one, or an icon document.
void AddUnderProposedName(std::unique_ptr<cAni> cursor, const std::string& proposed);
void AddUnderProposedName(std::unique_ptr<cIco> document, const std::string& proposed);

}  // namespace brixel
