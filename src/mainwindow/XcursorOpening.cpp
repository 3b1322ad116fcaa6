#include "XcursorOpening.h"

#include <optional>

#include "AnimatedCursors.h"
#include "Documents.h"
#include "ProposedNames.h"
#include "TrapErrors.h"
#include "XcursorCursor.h"
#include "XcursorReader.h"

namespace brixel {

bool OpenXcursorForEditing(const std::string& path) {
  std::optional<XcursorAsCursor> cursor;
  if (!Trap("PrjBackEnd.XcursorFile.ReadXcursorFile",
            [&] { cursor = CursorFromXcursor(ReadXcursorFile(ReadWholeFile(path))); })) {
    return false;
  }
  const std::string name = WindowsCursorPath(path, cursor->Animated());
  if (cursor->Animated()) {
    std::unique_ptr<cAni> animated = AnimatedCursorDocument(*cursor);
    animated->IconPath(name);
    animated->NewIcon(false);
    AniDocuments.Items.push_back(std::move(animated));
    AdoptAnimatedCursor();
  } else {
    std::unique_ptr<cIco> still = StillCursorDocument(*cursor);
    still->IconPath(name);
    still->Changed(false);
    IconDocuments.Items.push_back(std::move(still));
  }
  ProposeName(*IconDocuments.Items.back());
  return true;
}

}  // namespace brixel
