#include "VersionText.h"

#include "ErrorReport.h"
#include "Prompter.h"

namespace brixel {

QString ProgramVersionText() {
  const ProgramIdentity& id = CurrentProgramIdentity();
  return QString("%1 - Version %2.%3.%4")
      .arg(QString::fromLatin1(kApplicationTitle))
      .arg(id.major)
      .arg(id.minor)
      .arg(id.revision);
}

}  // namespace brixel
