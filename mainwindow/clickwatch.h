#pragma once

#include <functional>

class QWidget;

// Calls onClick each time a left click completes on `widget`: pressed and released on it. Only
// presses that reach the widget count; one on a child that lets it through counts as well.
void watchClicks(QWidget* widget, std::function<void()> onClick);
