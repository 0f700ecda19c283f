#include "x11ownerprobe.h"

#include "platform/x11/xcbreply.h"

#include <QDeadlineTimer>
#include <QtGlobal>

#include <cstring>
#include <poll.h>
#include <xcb/xcb.h>

namespace X11OwnerProbe {
namespace {

xcb_atom_t intern(xcb_connection_t* connection, const char* name)
{
    XcbReply<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, uint16_t(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

// Waits for the owner's SelectionNotify on `window`, reading nothing else of use.
bool waitForNotify(xcb_connection_t* connection, xcb_window_t window, const QDeadlineTimer& deadline)
{
    for (;;) {
        while (xcb_generic_event_t* event = xcb_poll_for_event(connection)) {
            const bool notify = (event->response_type & 0x7f) == XCB_SELECTION_NOTIFY
                && reinterpret_cast<xcb_selection_notify_event_t*>(event)->requestor == window;
            std::free(event);
            if (notify)
                return true;
        }
        if (xcb_connection_has_error(connection) || deadline.hasExpired())
            return false;
        pollfd p{xcb_get_file_descriptor(connection), POLLIN, 0};
        ::poll(&p, 1, int(qMax<qint64>(1, deadline.remainingTime())));
    }
}

} // namespace

Result ask(const char* selection, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        return Result::Unknown;
    }
    Result result = Result::Unknown;
    const xcb_atom_t selectionAtom = intern(connection, selection);
    const xcb_atom_t targets = intern(connection, "TARGETS");
    const xcb_atom_t property = intern(connection, "VANTA_OWNER_PROBE");
    XcbReply<xcb_get_selection_owner_reply_t> owner(
        xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, selectionAtom), nullptr));
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    if (!owner || !screen || !selectionAtom || !targets || !property) {
        result = Result::Unknown;
    } else if (owner->owner == XCB_NONE) {
        result = Result::NoOwner;
    } else {
        const xcb_window_t window = xcb_generate_id(connection);
        xcb_create_window(connection, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, 1, 1, 0,
                          XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
        xcb_convert_selection(connection, window, selectionAtom, targets, property, XCB_CURRENT_TIME);
        xcb_flush(connection);
        result = waitForNotify(connection, window, deadline) ? Result::Answers : Result::Silent;
    }
    xcb_disconnect(connection);
    return result;
}

} // namespace X11OwnerProbe
