#include "TextTool.h"

#include <cmath>

#include "ErrorReport.h"
#include "PictureSurface.h"

namespace brixel {

void TextSettings::SetFont(const QString& strFont, const QString& strSize,
                           const QString& strText) {
  m_strFont = strFont;
  m_strSize = strSize;
  m_strText = strText;
}

std::optional<float> TextPointsFrom(const QString& text) {
  bool ok = false;
  const double points = text.trimmed().toDouble(&ok);
  if (!ok || !std::isfinite(points) || points < 1 || points > kLargestTextPoints) {
    return std::nullopt;
  }
  return static_cast<float>(points);
}

void ApplyTextFont(PictureSurface& surface, const QString& font, const QString& size) {
  // The surface refuses what it cannot draw and keeps its setting, which is all we want here.
  try {
    surface.FontName(font.toStdString());
  } catch (const BackEndError&) {
  }
  if (const std::optional<float> points = TextPointsFrom(size)) {
    try {
      surface.FontSize(*points);
    } catch (const BackEndError&) {
    }
  }
}

void DrawTextAt(PictureSurface& scratch, const TextSettings& settings, Colour colour, float x,
                float y) {
  scratch.ForeColor(colour);
  ApplyTextFont(scratch, settings.m_strFont, settings.m_strSize);
  scratch.CurrentX(x);
  scratch.CurrentY(y);
  if (settings.m_strText.isEmpty()) return;
  scratch.Print(settings.m_strText.toStdString());
}

}  // namespace brixel
