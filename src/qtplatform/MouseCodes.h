#pragma once

#include <QtGlobal>
#include <Qt>

namespace brixel {

// Mouse buttons as the controls report them: 1 left, 2 right, 4 middle, added together.
inline qint16 ButtonCode(Qt::MouseButtons buttons) {
  qint16 code = 0;
  if (buttons & Qt::LeftButton) code |= 1;
  if (buttons & Qt::RightButton) code |= 2;
  if (buttons & Qt::MiddleButton) code |= 4;
  return code;
}

// Modifier keys: 1 Shift, 2 Ctrl, 4 Alt, added together.
inline qint16 ShiftCode(Qt::KeyboardModifiers modifiers) {
  qint16 code = 0;
  if (modifiers & Qt::ShiftModifier) code |= 1;
  if (modifiers & Qt::ControlModifier) code |= 2;
  if (modifiers & Qt::AltModifier) code |= 4;
  return code;
}

}  // namespace brixel
