#include "desktop/x_root_background.h"

#include <QPainter>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace mandalix {

namespace {

struct Disconnect {
    void operator()(xcb_connection_t* connection) const { xcb_disconnect(connection); }
};
using Connection = std::unique_ptr<xcb_connection_t, Disconnect>;

struct Display {
    Connection connection;
    xcb_screen_t* screen = nullptr;
};

Result<Display> openDisplay()
{
    using Opened = Result<Display>;
    const char* name = std::getenv("DISPLAY");
    if (!name || !*name)
        return Opened::failure(QStringLiteral("no X display"));
    int number = 0;
    Display display{Connection(xcb_connect(name, &number)), nullptr};
    if (xcb_connection_has_error(display.connection.get()))
        return Opened::failure(QStringLiteral("the X display %1 cannot be reached").arg(QString::fromLocal8Bit(name)));
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(display.connection.get()));
    for (; screens.rem && number > 0; --number)
        xcb_screen_next(&screens);
    if (!screens.rem)
        return Opened::failure(QStringLiteral("the X display has no screen"));
    display.screen = screens.data;
    return Opened::success(std::move(display));
}

// Whether the root's pixels are 32 bits each, 8 per colour in QImage's RGB32 order.
bool takesRgb32(xcb_connection_t* connection, const xcb_screen_t* screen)
{
    const xcb_setup_t* setup = xcb_get_setup(connection);
    if (setup->image_byte_order != XCB_IMAGE_ORDER_LSB_FIRST || screen->root_depth < 24)
        return false;
    bool isFormatRight = false;
    for (auto formats = xcb_setup_pixmap_formats_iterator(setup); formats.rem; xcb_format_next(&formats))
        isFormatRight |= formats.data->depth == screen->root_depth && formats.data->bits_per_pixel == 32;
    for (auto depths = xcb_screen_allowed_depths_iterator(screen); depths.rem; xcb_depth_next(&depths)) {
        for (auto visuals = xcb_depth_visuals_iterator(depths.data); visuals.rem; xcb_visualtype_next(&visuals)) {
            const xcb_visualtype_t* visual = visuals.data;
            if (visual->visual_id == screen->root_visual)
                return isFormatRight && visual->red_mask == 0xff0000 && visual->green_mask == 0xff00
                       && visual->blue_mask == 0xff;
        }
    }
    return false;
}

xcb_atom_t atom(xcb_connection_t* connection, const char* name)
{
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
    const xcb_atom_t found = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    return found;
}

xcb_pixmap_t pixmapProperty(xcb_connection_t* connection, xcb_window_t root, xcb_atom_t property)
{
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, root, property, XCB_ATOM_PIXMAP, 0, 1), nullptr);
    xcb_pixmap_t pixmap = XCB_NONE;
    if (reply && reply->format == 32 && xcb_get_property_value_length(reply) == 4)
        pixmap = *static_cast<const xcb_pixmap_t*>(xcb_get_property_value(reply));
    std::free(reply);
    return pixmap;
}

// The picture at the screen's size, centred on black.
QImage framedOnScreen(const QImage& picture, QSize screenPx)
{
    QImage canvas(screenPx, QImage::Format_RGB32);
    if (canvas.isNull())
        return canvas;
    canvas.fill(Qt::black);
    QPainter painter(&canvas);
    painter.drawImage((screenPx.width() - picture.width()) / 2, (screenPx.height() - picture.height()) / 2, picture);
    return canvas;
}

// Sends the pixels in bands that fit the server's largest request. False when the
// server refused the pixmap.
bool fillPixmap(xcb_connection_t* connection, xcb_pixmap_t pixmap, const xcb_screen_t* screen, const QImage& image)
{
    const xcb_gcontext_t gc = xcb_generate_id(connection);
    xcb_create_gc(connection, gc, pixmap, 0, nullptr);
    const std::size_t largestBytes = std::size_t{xcb_get_maximum_request_length(connection)} * 4 - 64;
    const int rowBytes = image.width() * 4;
    const int rowsPerBand = std::max(1, static_cast<int>(largestBytes / static_cast<std::size_t>(rowBytes)));
    for (int top = 0; top < image.height(); top += rowsPerBand) {
        const int rows = std::min(rowsPerBand, image.height() - top);
        xcb_put_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, pixmap, gc, static_cast<uint16_t>(image.width()),
                      static_cast<uint16_t>(rows), 0, static_cast<int16_t>(top), 0, screen->root_depth,
                      static_cast<uint32_t>(rowBytes * rows), image.constScanLine(top));
    }
    xcb_free_gc(connection, gc);
    // A round trip: every error of the requests above has arrived by its end.
    std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
    bool isFilled = true;
    while (xcb_generic_event_t* event = xcb_poll_for_event(connection)) {
        isFilled &= event->response_type != 0;
        std::free(event);
    }
    return isFilled && !xcb_connection_has_error(connection);
}

} // namespace

Result<QSize> xScreenSize()
{
    Result<Display> display = openDisplay();
    if (!display.ok)
        return Result<QSize>::failure(display.message);
    return Result<QSize>::success(QSize(display.value.screen->width_in_pixels, display.value.screen->height_in_pixels));
}

Result<> setXRootBackground(const QImage& picture)
{
    Result<Display> opened = openDisplay();
    if (!opened.ok)
        return Result<>::failure(opened.message);
    xcb_connection_t* connection = opened.value.connection.get();
    const xcb_screen_t* screen = opened.value.screen;
    if (!takesRgb32(connection, screen))
        return Result<>::failure(QStringLiteral("the X screen's pixels are of a kind this program does not write"));
    const QSize screenPx(screen->width_in_pixels, screen->height_in_pixels);
    const QImage image = framedOnScreen(picture.convertToFormat(QImage::Format_RGB32), screenPx);
    if (image.isNull())
        return Result<>::failure(QStringLiteral("not enough memory for a picture of the screen's size"));

    const xcb_pixmap_t pixmap = xcb_generate_id(connection);
    xcb_create_pixmap(connection, screen->root_depth, pixmap, screen->root, static_cast<uint16_t>(screenPx.width()),
                      static_cast<uint16_t>(screenPx.height()));
    if (!fillPixmap(connection, pixmap, screen, image))
        return Result<>::failure(QStringLiteral("the X server could not hold the picture"));

    const xcb_atom_t rootPixmap = atom(connection, "_XROOTPMAP_ID");
    const xcb_atom_t setRootPixmap = atom(connection, "ESETROOT_PMAP_ID");
    // An earlier setter's pixmap, kept on the server with its client's resources, is
    // freed as the root lets go of it, as the setters that name it do.
    const xcb_pixmap_t earlier = pixmapProperty(connection, screen->root, setRootPixmap);
    if (earlier != XCB_NONE && earlier == pixmapProperty(connection, screen->root, rootPixmap))
        xcb_kill_client(connection, earlier);
    xcb_change_window_attributes(connection, screen->root, XCB_CW_BACK_PIXMAP, &pixmap);
    xcb_clear_area(connection, 0, screen->root, 0, 0, 0, 0);
    for (const xcb_atom_t property : {rootPixmap, setRootPixmap})
        xcb_change_property(connection, XCB_PROP_MODE_REPLACE, screen->root, property, XCB_ATOM_PIXMAP, 32, 1, &pixmap);
    // The pixmap outlives this connection.
    xcb_set_close_down_mode(connection, XCB_CLOSE_DOWN_RETAIN_PERMANENT);
    std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
    if (xcb_connection_has_error(connection))
        return Result<>::failure(QStringLiteral("the X display closed the connection"));
    return Result<>::success();
}

} // namespace mandalix
