#pragma once

class QWidget;

namespace modMenu {

// Gives the window a minimise box, keeping its size and place.
void AddMinimizeBox(QWidget* window);

} // namespace modMenu
