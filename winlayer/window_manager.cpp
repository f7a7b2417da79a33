#include "winlayer/window_manager.h"

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <thread>

#include <QGuiApplication>
#include <QWindow>
#include <xcb/xcb.h>

namespace winlayer {
namespace {

using namespace std::chrono_literals;

// An answer to _NET_REQUEST_FRAME_EXTENTS takes a few milliseconds; a window manager that never
// answers costs this much once per opening.
constexpr auto frameAnswerTimeout = 500ms;

xcb_atom_t atom(xcb_connection_t* x, const char* name) {
    xcb_intern_atom_reply_t* reply =
        xcb_intern_atom_reply(x, xcb_intern_atom(x, 0, static_cast<uint16_t>(strlen(name)), name), nullptr);
    const xcb_atom_t found = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    free(reply);
    return found;
}

// The window named by a WINDOW property, or none.
xcb_window_t windowProperty(xcb_connection_t* x, xcb_window_t of, xcb_atom_t property) {
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        x, xcb_get_property(x, 0, of, property, XCB_ATOM_WINDOW, 0, 1), nullptr);
    xcb_window_t found = XCB_WINDOW_NONE;
    if (reply && reply->format == 32 && xcb_get_property_value_length(reply) == 4)
        found = *static_cast<xcb_window_t*>(xcb_get_property_value(reply));
    free(reply);
    return found;
}

// A window manager that follows the desktop conventions announces itself on the root window
// through a child window that names itself; without one a frame request would go unanswered.
bool windowManagerRuns(xcb_connection_t* x, xcb_window_t root) {
    const xcb_atom_t check = atom(x, "_NET_SUPPORTING_WM_CHECK");
    const xcb_window_t child = windowProperty(x, root, check);
    return child != XCB_WINDOW_NONE && windowProperty(x, child, check) == child;
}

std::optional<QMargins> frameExtents(xcb_connection_t* x, xcb_window_t window, xcb_atom_t extents) {
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        x, xcb_get_property(x, 0, window, extents, XCB_ATOM_CARDINAL, 0, 4), nullptr);
    std::optional<QMargins> found;
    if (reply && reply->format == 32 && xcb_get_property_value_length(reply) == 16) {
        const auto* sides = static_cast<const uint32_t*>(xcb_get_property_value(reply));
        found = QMargins(static_cast<int>(sides[0]), static_cast<int>(sides[2]),
                         static_cast<int>(sides[1]), static_cast<int>(sides[3]));
    }
    free(reply);
    return found;
}

QMargins requestX11Frame(xcb_connection_t* x, xcb_window_t window) {
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(x)).data->root;
    if (!windowManagerRuns(x, root)) return {};

    const xcb_atom_t extents = atom(x, "_NET_FRAME_EXTENTS");
    xcb_client_message_event_t request{};
    request.response_type = XCB_CLIENT_MESSAGE;
    request.format = 32;
    request.window = window;
    request.type = atom(x, "_NET_REQUEST_FRAME_EXTENTS");
    xcb_send_event(x, 0, root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char*>(&request));
    xcb_flush(x);

    const auto deadline = std::chrono::steady_clock::now() + frameAnswerTimeout;
    while (std::chrono::steady_clock::now() < deadline) {
        if (auto frame = frameExtents(x, window, extents)) return *frame;
        std::this_thread::sleep_for(1ms);
    }
    return {};
}

xcb_connection_t* x11Connection() {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return QGuiApplication::platformName() == QLatin1String("xcb") && x11 ? x11->connection()
                                                                         : nullptr;
}

}  // namespace

QMargins expectedFrame(QWidget* window) {
    const WId id = window->winId();
    if (xcb_connection_t* x = x11Connection())
        return requestX11Frame(x, static_cast<xcb_window_t>(id));
    // Other platforms (the offscreen one of the tests) know their frame before mapping.
    return window->windowHandle()->frameMargins();
}


void keepOffTaskbar(QWidget* window) {
    xcb_connection_t* x = x11Connection();
    if (!x) return;
    // Before the first map a client writes its state itself; the toolkit adds its own states to
    // this one when it maps the window.
    const xcb_atom_t skipTaskbar = atom(x, "_NET_WM_STATE_SKIP_TASKBAR");
    xcb_change_property(x, XCB_PROP_MODE_APPEND, static_cast<xcb_window_t>(window->winId()),
                        atom(x, "_NET_WM_STATE"), XCB_ATOM_ATOM, 32, 1, &skipTaskbar);
}

}  // namespace winlayer
