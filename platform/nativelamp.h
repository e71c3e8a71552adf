#pragma once

#include "platform/looppass.h"

#include <QHash>
#include <QRect>

#include <cstdint>
#include <memory>

class QImage;
class QWindow;
struct xcb_connection_t;

// A small picture that the X server shows by itself inside a window: a child window whose
// background is one of a few images, each sent to the server once. Showing another of them costs
// a few bytes and no drawing in the program, where a repaint through the window's backing store
// draws and sends the whole region. It takes no input: pointer events pass to the window.
class NativeLamp {
public:
    // Null where `window` is not an X11 window whose pixels are 32-bit xRGB in the byte order of
    // the program (the images are sent as they lie in memory).
    static std::unique_ptr<NativeLamp> create(QWindow& window);

    ~NativeLamp();

    NativeLamp(const NativeLamp&) = delete;
    NativeLamp& operator=(const NativeLamp&) = delete;

    // Shows `image` (Format_RGB32, the lamp's size in device pixels) from now on; an image shown
    // before, by its cacheKey(), is not sent again. Sent when the handler running now returns to
    // the event loop, with the changes of the other lamps in one write.
    void show(const QImage& image);
    // In the window's device pixels.
    void setGeometry(const QRect& rect);
    void setVisible(bool visible);

private:
    NativeLamp(xcb_connection_t* connection, std::uint32_t window, std::uint8_t depth);
    std::uint32_t pixmapOf(const QImage& image);

    xcb_connection_t* m_connection;
    std::uint32_t m_window;
    std::uint8_t m_depth;
    QRect m_geometry;
    bool m_visible = false;
    QHash<qint64, std::uint32_t> m_pixmaps; // by the image's cacheKey()
    LoopPass m_sending;
};
