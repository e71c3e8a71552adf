#pragma once

#include <QImage>
#include <QString>

#include <functional>

// A desktop notification as the program sends it: short-lived, with a picture.
struct Notice {
    QString summary;
    QImage image;
    quint32 replacesId = 0; // the notification it takes the place of; 0 for none
};

// The desktop's notification service.
class Notifications {
public:
    virtual ~Notifications() = default;

    // Shows `notice`; `shown` gets the id the service gave it, unless the service cannot be
    // reached.
    virtual void notify(const Notice& notice, std::function<void(quint32 id)> shown) = 0;
};
