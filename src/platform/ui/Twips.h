// Twips (1/1440 of a logical inch) are the unit of every stored position and size, as the suite
// records them; windows convert at the edge with their screen's logical DPI so that the same
// numbers give the same physical size on any screen.
#pragma once

#include <QGuiApplication>
#include <QScreen>
#include <QSize>
#include <QWidget>

#include <cmath>

namespace platform::ui {

inline constexpr double kTwipsPerInch = 1440.0;

// The logical DPI of the screen `widget` is on; the primary screen's without a widget, 96 when
// there is no screen at all.
inline double logicalDpi(const QWidget* widget = nullptr) {
  QScreen* screen = widget ? widget->screen() : nullptr;
  if (!screen) screen = QGuiApplication::primaryScreen();
  const double dpi = screen ? screen->logicalDotsPerInchX() : 96.0;
  return dpi > 0 ? dpi : 96.0;
}

// Twips to whole pixels, rounded to the nearest.
inline int twipsToPixels(int twips, const QWidget* widget = nullptr) {
  return static_cast<int>(std::lround(twips * logicalDpi(widget) / kTwipsPerInch));
}

// Pixels to whole twips, rounded to the nearest.
inline int pixelsToTwips(int pixels, const QWidget* widget = nullptr) {
  return static_cast<int>(std::lround(pixels * kTwipsPerInch / logicalDpi(widget)));
}

inline QSize twipsToPixels(QSize twips, const QWidget* widget = nullptr) {
  return {twipsToPixels(twips.width(), widget), twipsToPixels(twips.height(), widget)};
}

}  // namespace platform::ui
