#pragma once

class QWidget;

namespace modMenu {

// Gives a window that is not shown yet a minimise box.
void AddMinimizeBox(QWidget* window);

} // namespace modMenu
