#include "statind/ui/ComboClick.h"

#include <QComboBox>
#include <QTimer>

namespace statind::ui {

ComboClick::ComboClick(QComboBox* list, std::function<void(int)> handler)
    : QObject(list), handler_(std::move(handler)) {
  connect(list, &QComboBox::currentIndexChanged, this, [this](int index) {
    // A user's pick emits the change first and the activation right after it,
    // in one event.
    justChanged_ = true;
    QTimer::singleShot(0, this, [this] { justChanged_ = false; });
    handler_(index);
  });
  connect(list, &QComboBox::activated, this, [this](int index) {
    if (!justChanged_) handler_(index);
    justChanged_ = false;
  });
}

}  // namespace statind::ui
