#pragma once

#include <QPixmap>

namespace brixel {

// The program's logo drawn at the given size in pixels, sharp on the screen's pixel ratio.
QPixmap ProgramLogo(int size);

}  // namespace brixel
