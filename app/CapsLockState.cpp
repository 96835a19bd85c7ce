#include "app/CapsLockState.h"

#include <QGuiApplication>

#ifdef VISTREL_HAVE_XCB
#include <cstdlib>
#include <xcb/xcb.h>
#endif

namespace vistrel {

std::optional<bool> capsLockOn() {
#ifdef VISTREL_HAVE_XCB
    auto* x11 = qGuiApp != nullptr ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (x11 == nullptr || x11->connection() == nullptr) {
        return std::nullopt;
    }
    xcb_connection_t* connection = x11->connection();
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    if (screen == nullptr) {
        return std::nullopt;
    }
    // The pointer query carries the keyboard's modifier state, the Lock modifier among them.
    xcb_query_pointer_reply_t* reply =
        xcb_query_pointer_reply(connection, xcb_query_pointer(connection, screen->root), nullptr);
    if (reply == nullptr) {
        return std::nullopt;
    }
    const bool on = (reply->mask & XCB_MOD_MASK_LOCK) != 0;
    std::free(reply); // NOLINT(cppcoreguidelines-no-malloc): xcb replies are allocated with malloc
    return on;
#else
    return std::nullopt;
#endif
}

} // namespace vistrel
