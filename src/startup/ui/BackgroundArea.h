// The client area of the main window: an optional colour and an optional picture chosen in the
// configuration, behind whatever the window shows.
#pragma once

#include <QColor>
#include <QPixmap>
#include <QWidget>

#include <optional>
#include <string>

namespace startup::ui {

class BackgroundArea : public QWidget {
  Q_OBJECT

 public:
  explicit BackgroundArea(QWidget* parent = nullptr);

  // A Windows colour value (red in the low byte, blue in the high byte) as configured. Nothing
  // for text that is not a whole number or a value outside 0..0xFFFFFF (the system-colour
  // codes of the suite's windows have no meaning here).
  static std::optional<QColor> fromWindowsColour(const std::string& text);

  void setColour(const QColor& colour);
  // Shows `picture` centred on the area (cut by the window when it is larger).
  void setPicture(const QPixmap& picture);
  const QPixmap& picture() const { return picture_; }
  std::optional<QColor> colour() const { return colour_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::optional<QColor> colour_;
  QPixmap picture_;
};

}  // namespace startup::ui
