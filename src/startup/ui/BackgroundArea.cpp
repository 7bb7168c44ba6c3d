#include "startup/ui/BackgroundArea.h"

#include <QPainter>

#include <charconv>

namespace startup::ui {

BackgroundArea::BackgroundArea(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("Sfondo"));
}

std::optional<QColor> BackgroundArea::fromWindowsColour(const std::string& text) {
  long long value = 0;
  const char* begin = text.data();
  const char* end = text.data() + text.size();
  const auto [last, error] = std::from_chars(begin, end, value);
  if (error != std::errc() || last != end || value < 0 || value > 0xFFFFFF) return std::nullopt;
  return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                static_cast<int>((value >> 16) & 0xFF));
}

void BackgroundArea::setColour(const QColor& colour) {
  colour_ = colour;
  update();
}

void BackgroundArea::setPicture(const QPixmap& picture) {
  picture_ = picture;
  update();
}

void BackgroundArea::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (colour_) painter.fillRect(rect(), *colour_);
  if (!picture_.isNull()) {
    const QSize size = picture_.deviceIndependentSize().toSize();
    painter.drawPixmap(
        QRect(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size),
        picture_);
  }
}

}  // namespace startup::ui
