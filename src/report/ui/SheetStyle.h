// The type the client sheet is set in: one sans-serif family at a few sizes, so that the printed
// page and its preview look alike on every system that has DejaVu (or a close substitute).
#pragma once

#include <QColor>
#include <QFont>

namespace report::ui {

inline QFont sheetFont(double points, bool bold = false, bool italic = false) {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setStyleHint(QFont::SansSerif);
  font.setPointSizeF(points);
  font.setBold(bold);
  font.setItalic(italic);
  // A spacing of its own keeps the text shaper from joining "fi" into one glyph, so that text
  // copied or searched in the PDF reads as typed ("fine", not "ﬁne").
  font.setLetterSpacing(QFont::AbsoluteSpacing, 0.05);
  return font;
}

inline const QColor kQuietText(100, 100, 100);
inline const QColor kNegativeText(200, 0, 0);
inline const QColor kRuleColour(150, 150, 150);
inline const QColor kHeaderFill(232, 236, 242);

}  // namespace report::ui
