#include "modmenu.h"

#include <QWidget>

namespace modMenu {

void AddMinimizeBox(QWidget* window) {
    // Changing the flags re-creates a shown window, which would forget its place and hide it.
    if (!window->isVisible()) {
        window->setWindowFlag(Qt::WindowMinimizeButtonHint, true);
        return;
    }
    const QRect place = window->geometry();
    window->setWindowFlag(Qt::WindowMinimizeButtonHint, true);
    window->setGeometry(place);
    window->show();
}

} // namespace modMenu
