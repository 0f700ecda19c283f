#include "focusedwindow.h"

#if defined(SYSTEMDLL_HAVE_XCB_CLIPBOARD)
#include "platform/x11/xcbreply.h"

#include <QGuiApplication>

#include <xcb/xcb.h>
#endif

namespace FocusedWindow {

#if defined(SYSTEMDLL_HAVE_XCB_CLIPBOARD)
namespace {
constexpr quint32 kPointerRoot = 1;
constexpr int kMaxDepth = 16;
constexpr uint32_t kMaxClassBytes = 1024;
}

// The focus is often on a child of the top level (a toolkit's inner window): its
// ancestors are asked in turn until one carries WM_CLASS.
QStringList windowClass()
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return {};
    XcbReply<xcb_get_input_focus_reply_t> focus(
        xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
    xcb_window_t window = focus ? focus->focus : XCB_NONE;
    for (int depth = 0; depth < kMaxDepth && window != XCB_NONE && window != kPointerRoot; ++depth) {
        const auto classCookie =
            xcb_get_property(connection, 0, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 0, kMaxClassBytes / 4);
        const auto treeCookie = xcb_query_tree(connection, window);
        XcbReply<xcb_get_property_reply_t> property(xcb_get_property_reply(connection, classCookie, nullptr));
        XcbReply<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(connection, treeCookie, nullptr));
        const int length = property ? xcb_get_property_value_length(property.get()) : 0;
        if (length > 0) {
            const QByteArray bytes(static_cast<const char*>(xcb_get_property_value(property.get())), length);
            QStringList names;
            for (const QByteArray& name : bytes.split('\0')) {
                if (!name.isEmpty())
                    names << QString::fromLocal8Bit(name);
            }
            return names;
        }
        if (!tree || tree->parent == tree->root)
            break;
        window = tree->parent;
    }
    return {};
}
#else
QStringList windowClass()
{
    return {};
}
#endif

} // namespace FocusedWindow
