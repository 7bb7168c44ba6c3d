#include "statind/ui/ComboClick.h"

#include <QComboBox>
#include <QTimer>

namespace statind::ui {

ComboClick::ComboClick(QComboBox* list, std::function<void(int)> handler)
    : QObject(list), handler_(std::move(handler)) {
  connect(list, &QComboBox::currentIndexChanged, this, [this](int index) {
    handler_(index);
    // A user's pick emits the change first and the activation right after it,
    // in one event. The mark is set once the handler is back: a message box
    // inside it runs the event loop, which would have cleared it too early and
    // let the activation run the handler a second time.
    justChanged_ = true;
    QTimer::singleShot(0, this, [this] { justChanged_ = false; });
  });
  connect(list, &QComboBox::activated, this, [this](int index) {
    if (!justChanged_) handler_(index);
    justChanged_ = false;
  });
}

}  // namespace statind::ui
