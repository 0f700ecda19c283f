#include "x11selectionwatch.h"

#include "platform/clipboard/clipboardlog.h"
#include "platform/x11/xcbreply.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <xcb/xcb.h>

#include <algorithm>
#include <array>

namespace {

const char* const kNoFetchNames[] = {"TARGETS", "MULTIPLE", "TIMESTAMP", "SAVE_TARGETS"};
constexpr quint32 kPointerRoot = 1;

} // namespace

std::unique_ptr<X11SelectionWatch> X11SelectionWatch::start(const char* selection,
                                                            std::function<void(bool fromTarget)> onRequest)
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return nullptr;

    std::array<xcb_intern_atom_cookie_t, std::size(kNoFetchNames) + 1> cookies;
    for (size_t i = 0; i < cookies.size(); ++i) {
        const char* name = i == 0 ? selection : kNoFetchNames[i - 1];
        cookies[i] = xcb_intern_atom(connection, 0, uint16_t(qstrlen(name)), name);
    }
    const xcb_get_input_focus_cookie_t focusCookie = xcb_get_input_focus(connection);

    std::unique_ptr<X11SelectionWatch> watch(new X11SelectionWatch);
    for (size_t i = 0; i < cookies.size(); ++i) {
        XcbReply<xcb_intern_atom_reply_t> atom(xcb_intern_atom_reply(connection, cookies[i], nullptr));
        const quint32 value = atom ? atom->atom : 0;
        if (i == 0)
            watch->m_selection = value;
        else
            watch->m_noFetch[i - 1] = value;
    }
    XcbReply<xcb_get_input_focus_reply_t> focus(xcb_get_input_focus_reply(connection, focusCookie, nullptr));
    const xcb_setup_t* setup = xcb_get_setup(connection);
    watch->m_clientMask = ~setup->resource_id_mask;
    if (focus && focus->focus != XCB_NONE && focus->focus != kPointerRoot) {
        watch->m_focusClient = focus->focus & watch->m_clientMask;
        const bool own = watch->m_focusClient == (setup->resource_id_base & watch->m_clientMask);
        watch->m_target = own ? Target::OwnProcess : Target::OtherClient;
    }
    watch->m_onRequest = std::move(onRequest);
    QCoreApplication::instance()->installNativeEventFilter(watch.get());
    return watch;
}

X11SelectionWatch::~X11SelectionWatch()
{
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

bool X11SelectionWatch::isPasteTarget(quint32 requestor) const
{
    return m_target == Target::Unknown || (requestor & m_clientMask) == m_focusClient;
}

// Sees the request before Qt answers it; never takes it away from Qt.
bool X11SelectionWatch::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (eventType != "xcb_generic_event_t" || !m_selection)
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7f) != XCB_SELECTION_REQUEST)
        return false;
    const auto* request = reinterpret_cast<const xcb_selection_request_event_t*>(event);
    if (request->selection != m_selection || std::count(std::begin(m_noFetch), std::end(m_noFetch), request->target))
        return false;
    const bool fromTarget = isPasteTarget(request->requestor);
    qCDebug(lcClipboard) << "selection read by" << (fromTarget ? "the paste target" : "another client")
                         << Qt::hex << request->requestor;
    m_onRequest(fromTarget);
    return false;
}
