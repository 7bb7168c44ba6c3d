// The active-company window "            DITTA ATTIVA": on the "AZM" network it shows which of
// the suite's two companies is active (LbDitBase(0)) and, when switching is allowed, the other
// one (LbDitBase(1)) with the button "&CAMBIA". The opener sets plModif, plPosX and plPosY,
// then shows it modally.
#pragma once

#include <QDialog>

#include <string>

class QLabel;
class QPushButton;

namespace utilities::ui {

class EspMovDt : public QDialog {
  Q_OBJECT

 public:
  // Size in twips.
  static constexpr int kWidthTwips = 2565;
  static constexpr int kHeightTwips = 1800;

  EspMovDt(const std::string& activeCompany, QWidget* parent = nullptr);

  void plModif(bool allowed) { plModif_ = allowed; }
  bool plModif() const { return plModif_; }
  // Left and top edge in twips.
  void plPosX(int twips) { plPosX_ = twips; }
  void plPosY(int twips) { plPosY_ = twips; }

  QLabel* LbDitBase[2] = {nullptr, nullptr};
  QPushButton* Command1[2] = {nullptr, nullptr};

 protected:
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  std::string activeCompany_;
  bool plModif_ = false;
  int plPosX_ = 0;
  int plPosY_ = 0;
};

}  // namespace utilities::ui
