#pragma once

#include <QString>

namespace brixel {

// "Brixel - Version " + major.minor.revision, from the program's own version numbers.
QString ProgramVersionText();

}  // namespace brixel
