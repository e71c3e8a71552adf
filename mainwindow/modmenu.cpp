#include "mainwindow/modmenu.h"

#include <QWidget>

namespace modMenu {

// Called before the window is first shown, so the change of flags keeps its size and place.
void AddMinimizeBox(QWidget* window) {
    window->setWindowFlag(Qt::WindowMinimizeButtonHint, true);
}

} // namespace modMenu
