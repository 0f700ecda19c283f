#include "xcbprobe.h"

#include <cstdlib>
#include <memory>
#include <utility>

namespace {

template<typename T>
std::unique_ptr<T, decltype(&std::free)> owned(T* reply)
{
    return {reply, &std::free};
}

} // namespace

XcbProbe::XcbProbe(const QByteArray& display)
{
    int screen = 0;
    m_connection = xcb_connect(display.isEmpty() ? nullptr : display.constData(), &screen);
    if (!isOpen())
        return;
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(m_connection));
    for (int i = 0; i < screen; ++i)
        xcb_screen_next(&it);
    m_root = it.data->root;
}

xcb_atom_t XcbProbe::atom(const char* name)
{
    const auto reply = owned(xcb_intern_atom_reply(
        m_connection, xcb_intern_atom(m_connection, 0, uint16_t(qstrlen(name)), name), nullptr));
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

xcb_window_t XcbProbe::createWindow(const QRect& geometry, const QList<Property>& properties)
{
    const xcb_window_t window = xcb_generate_id(m_connection);
    xcb_create_window(m_connection, XCB_COPY_FROM_PARENT, window, m_root, int16_t(geometry.x()),
                      int16_t(geometry.y()), uint16_t(geometry.width()), uint16_t(geometry.height()), 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, 0, nullptr);
    for (const Property& property : properties)
        set(window, property);
    sync();
    return window;
}

void XcbProbe::set(xcb_window_t window, const Property& p)
{
    const bool text = p.numbers.isEmpty();
    xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, window, atom(p.name), atom(p.type), text ? 8 : 32,
                        uint32_t(text ? p.text.size() : p.numbers.size()),
                        text ? static_cast<const void*>(p.text.constData()) : p.numbers.constData());
    sync();
}

void XcbProbe::watchRoot()
{
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(m_connection, m_root, XCB_CW_EVENT_MASK, &mask);
    sync();
}

QList<XcbProbe::Message> XcbProbe::clientMessages()
{
    sync();
    return std::exchange(m_messages, {});
}

void XcbProbe::sync()
{
    owned(xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr));
    while (xcb_generic_event_t* event = xcb_poll_for_event(m_connection)) {
        if ((event->response_type & 0x7f) == XCB_CLIENT_MESSAGE) {
            const auto* message = reinterpret_cast<xcb_client_message_event_t*>(event);
            m_messages << Message{message->type, message->window};
        }
        std::free(event);
    }
}
