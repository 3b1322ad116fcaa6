#include "XcursorOpening.h"

#include <optional>

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
  if (cursor->Animated()) AddUnderProposedName(AnimatedCursorDocument(*cursor), name);
  else AddUnderProposedName(StillCursorDocument(*cursor), name);
  return true;
}

}  // namespace brixel
