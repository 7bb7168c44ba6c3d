#include "utilities/ui/EspMovDt.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/ui/Twips.h"
#include "utilities/ActiveCompany.h"

namespace utilities::ui {

using platform::ui::twipsToPixels;

namespace {
constexpr int kLabelHeightTwips = 375;
}  // namespace

EspMovDt::EspMovDt(const std::string& activeCompany, QWidget* parent)
    : QDialog(parent), activeCompany_(activeCompany) {
  setObjectName(QStringLiteral("EspMovDt"));
  setWindowTitle(QStringLiteral("            DITTA ATTIVA"));
  auto* layout = new QVBoxLayout(this);
  for (int i = 0; i < 2; ++i) {
    LbDitBase[i] = new QLabel(this);
    LbDitBase[i]->setObjectName(QStringLiteral("LbDitBase%1").arg(i));
    LbDitBase[i]->setFrameShape(QFrame::Panel);
    LbDitBase[i]->setFrameShadow(QFrame::Sunken);
    LbDitBase[i]->setFixedHeight(twipsToPixels(kLabelHeightTwips, this));
    layout->addWidget(LbDitBase[i]);
  }
  QFont bold = LbDitBase[0]->font();
  bold.setBold(true);
  LbDitBase[0]->setFont(bold);
  layout->addStretch();
  auto* buttons = new QHBoxLayout;
  Command1[1] = new QPushButton(QStringLiteral("&CAMBIA"), this);
  Command1[0] = new QPushButton(QStringLiteral("&USCITA"), this);
  for (int i = 0; i < 2; ++i) {
    Command1[i]->setObjectName(QStringLiteral("Command1_%1").arg(i));
    Command1[i]->setAutoDefault(false);
    buttons->addWidget(Command1[i]);
  }
  layout->addLayout(buttons);
  connect(Command1[0], &QPushButton::clicked, this, &QDialog::accept);
  setFixedSize(twipsToPixels(QSize(kWidthTwips, kHeightTwips), this));
}

void EspMovDt::showEvent(QShowEvent* event) {
  move(twipsToPixels(plPosX_, this), twipsToPixels(plPosY_, this));
  const CompanyCaptions captions = companyCaptions(activeCompany_);
  LbDitBase[0]->setText(QString::fromStdString(captions.active));
  LbDitBase[1]->setText(QString::fromStdString(captions.other));
  LbDitBase[1]->setVisible(plModif_);
  Command1[1]->setVisible(plModif_);
  QDialog::showEvent(event);
}

void EspMovDt::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F2) {
    Command1[0]->click();  // Alt+U, the exit button's accelerator
    return;
  }
  QDialog::keyPressEvent(event);
}

}  // namespace utilities::ui
