#include "clickwatch.h"

#include <QEvent>
#include <QMouseEvent>
#include <QWidget>

namespace {
class ClickWatch final : public QObject {
public:
    ClickWatch(QWidget* widget, std::function<void()> onClick)
        : QObject(widget), m_widget(widget), m_onClick(std::move(onClick)) {
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != m_widget)
            return false;
        if (event->type() == QEvent::MouseButtonPress) {
            m_pressed = static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
        } else if (event->type() == QEvent::MouseButtonRelease && m_pressed) {
            const auto* release = static_cast<QMouseEvent*>(event);
            if (release->button() != Qt::LeftButton)
                return false;
            m_pressed = false;
            if (m_widget->rect().contains(release->position().toPoint()))
                m_onClick();
        }
        return false;
    }

private:
    QWidget* m_widget;
    std::function<void()> m_onClick;
    bool m_pressed = false;
};
} // namespace

void watchClicks(QWidget* widget, std::function<void()> onClick) {
    new ClickWatch(widget, std::move(onClick));
}
