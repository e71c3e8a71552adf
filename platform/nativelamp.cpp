#include "platform/nativelamp.h"

#include <QGuiApplication>
#include <QImage>
#include <QWindow>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>

namespace {

template <typename Reply> using Owned = std::unique_ptr<Reply, decltype(&std::free)>;

const xcb_visualtype_t* visualType(const xcb_setup_t* setup, xcb_visualid_t id) {
    for (auto screen = xcb_setup_roots_iterator(setup); screen.rem; xcb_screen_next(&screen))
        for (auto depth = xcb_screen_allowed_depths_iterator(screen.data); depth.rem;
             xcb_depth_next(&depth))
            for (auto visual = xcb_depth_visuals_iterator(depth.data); visual.rem;
                 xcb_visualtype_next(&visual))
                if (visual.data->visual_id == id)
                    return visual.data;
    return nullptr;
}

// Whether QImage's Format_RGB32, as it lies in memory, is the server's own layout of pixels of
// `depth` in `visual`.
bool takesRgb32(const xcb_setup_t* setup, const xcb_visualtype_t* visual, std::uint8_t depth) {
    if (!visual || visual->_class != XCB_VISUAL_CLASS_TRUE_COLOR || visual->red_mask != 0xff0000 ||
        visual->green_mask != 0xff00 || visual->blue_mask != 0xff)
        return false;
    const auto ownOrder = QSysInfo::ByteOrder == QSysInfo::LittleEndian ? XCB_IMAGE_ORDER_LSB_FIRST
                                                                        : XCB_IMAGE_ORDER_MSB_FIRST;
    if (setup->image_byte_order != ownOrder)
        return false;
    const xcb_format_t* formats = xcb_setup_pixmap_formats(setup);
    const xcb_format_t* end = formats + xcb_setup_pixmap_formats_length(setup);
    return std::any_of(formats, end, [depth](const xcb_format_t& f) {
        return f.depth == depth && f.bits_per_pixel == 32 && f.scanline_pad == 32;
    });
}

} // namespace

std::unique_ptr<NativeLamp> NativeLamp::create(QWindow& window) {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection())
        return nullptr;
    xcb_connection_t* c = x11->connection();
    const auto parent = static_cast<xcb_window_t>(window.winId());
    const Owned<xcb_get_window_attributes_reply_t> attributes(
        xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, parent), nullptr),
        &std::free);
    const Owned<xcb_get_geometry_reply_t> geometry(
        xcb_get_geometry_reply(c, xcb_get_geometry(c, parent), nullptr), &std::free);
    if (!attributes || !geometry ||
        !takesRgb32(xcb_get_setup(c), visualType(xcb_get_setup(c), attributes->visual),
                    geometry->depth))
        return nullptr;
    const xcb_window_t lamp = xcb_generate_id(c);
    // Of the parent's depth and visual, selecting no events: the server paints the background
    // on every exposure, and pointer events go on to the parent.
    xcb_create_window(c, XCB_COPY_FROM_PARENT, lamp, parent, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, 0, nullptr);
    return std::unique_ptr<NativeLamp>(new NativeLamp(c, lamp, geometry->depth));
}

NativeLamp::NativeLamp(xcb_connection_t* connection, std::uint32_t window, std::uint8_t depth)
    : m_connection(connection), m_window(window), m_depth(depth),
      m_sending([connection] { xcb_flush(connection); }) {}

NativeLamp::~NativeLamp() {
    // Gone already where another client destroyed the window around it: that error is dropped
    // rather than reported by Qt.
    xcb_discard_reply(m_connection, xcb_destroy_window_checked(m_connection, m_window).sequence);
    for (const std::uint32_t pixmap : std::as_const(m_pixmaps))
        xcb_free_pixmap(m_connection, pixmap);
    xcb_flush(m_connection);
}

void NativeLamp::show(const QImage& image) {
    const std::uint32_t pixmap = pixmapOf(image);
    xcb_change_window_attributes(m_connection, m_window, XCB_CW_BACK_PIXMAP, &pixmap);
    xcb_clear_area(m_connection, 0, m_window, 0, 0, 0, 0);
    // Each write wakes the server: the lamps that change in one handler go out in one.
    m_sending.request();
}

std::uint32_t NativeLamp::pixmapOf(const QImage& image) {
    const auto known = m_pixmaps.constFind(image.cacheKey());
    if (known != m_pixmaps.cend())
        return *known;
    const QImage pixels = image.convertToFormat(QImage::Format_RGB32);
    const xcb_pixmap_t pixmap = xcb_generate_id(m_connection);
    xcb_create_pixmap(m_connection, m_depth, pixmap, m_window, std::uint16_t(pixels.width()),
                      std::uint16_t(pixels.height()));
    const xcb_gcontext_t gc = xcb_generate_id(m_connection);
    xcb_create_gc(m_connection, gc, pixmap, 0, nullptr);
    // In bands of rows that each fit into one request.
    const auto line = std::uint32_t(pixels.bytesPerLine());
    const std::uint32_t maxBytes = xcb_get_maximum_request_length(m_connection) * 4 - 32;
    const int rows = std::max(1, int(maxBytes / line));
    for (int top = 0; top < pixels.height(); top += rows) {
        const int height = std::min(rows, pixels.height() - top);
        xcb_put_image(m_connection, XCB_IMAGE_FORMAT_Z_PIXMAP, pixmap, gc,
                      std::uint16_t(pixels.width()), std::uint16_t(height), 0, std::int16_t(top), 0,
                      m_depth, line * std::uint32_t(height), pixels.constScanLine(top));
    }
    xcb_free_gc(m_connection, gc);
    m_pixmaps.insert(image.cacheKey(), pixmap);
    return pixmap;
}

void NativeLamp::setGeometry(const QRect& rect) {
    if (rect == m_geometry || rect.isEmpty())
        return;
    m_geometry = rect;
    const std::uint32_t values[] = {std::uint32_t(rect.x()), std::uint32_t(rect.y()),
                                    std::uint32_t(rect.width()), std::uint32_t(rect.height())};
    xcb_configure_window(m_connection, m_window,
                         XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y | XCB_CONFIG_WINDOW_WIDTH |
                             XCB_CONFIG_WINDOW_HEIGHT,
                         values);
    xcb_flush(m_connection);
}

void NativeLamp::setVisible(bool visible) {
    if (visible == m_visible)
        return;
    m_visible = visible;
    if (visible)
        xcb_map_window(m_connection, m_window);
    else
        xcb_unmap_window(m_connection, m_window);
    xcb_flush(m_connection);
}
