#include "ProposedNames.h"

#include <algorithm>
#include <string>
#include <vector>

#include "AnimatedCursors.h"
#include "Documents.h"

namespace brixel {
namespace {

struct Proposal {
  const cIco* document = nullptr;
  std::string path;
};

std::vector<Proposal>& Proposals() {
  static std::vector<Proposal> proposals;
  return proposals;
}

bool IsOpen(const cIco* document) {
  return std::any_of(IconDocuments.Items.begin(), IconDocuments.Items.end(),
                     [&](const std::unique_ptr<cIco>& open) { return open.get() == document; });
}

}  // namespace

void ProposeName(const cIco& document) {
  ForgetProposedName(document);
  Proposals().push_back({&document, document.IconPath()});
}

bool HasProposedName(const cIco& document) {
  // A closed document's entry goes, so that a new one at its address is not taken for it.
  std::erase_if(Proposals(), [](const Proposal& proposal) { return !IsOpen(proposal.document); });
  return std::any_of(Proposals().begin(), Proposals().end(), [&](const Proposal& proposal) {
    return proposal.document == &document && proposal.path == document.IconPath();
  });
}

void ForgetProposedName(const cIco& document) {
  std::erase_if(Proposals(), [&](const Proposal& proposal) { return proposal.document == &document; });
}

void AddUnderProposedName(std::unique_ptr<cAni> cursor, const std::string& proposed) {
  cursor->IconPath(proposed);
  cursor->NewIcon(false);
  AniDocuments.Items.push_back(std::move(cursor));
  AdoptAnimatedCursor();
  ProposeName(*IconDocuments.Items.back());
}

void AddUnderProposedName(std::unique_ptr<cIco> document, const std::string& proposed) {
  document->IconPath(proposed);
  document->Changed(false);
  IconDocuments.Items.push_back(std::move(document));
  ProposeName(*IconDocuments.Items.back());
}

}  // namespace brixel
