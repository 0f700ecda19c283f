// A clipboard manager as desktops run one: it owns CLIPBOARD_MANAGER, and when a
// program that owns the clipboard exits and asks it to SAVE_TARGETS, it takes the text
// and serves it from then on. Prints "ready" once it owns the manager selection.
#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace {

template<typename T>
using Reply = std::unique_ptr<T, decltype(&std::free)>;

xcb_connection_t* c = nullptr;
xcb_window_t window = XCB_NONE;

xcb_atom_t atom(const char* name)
{
    Reply<xcb_intern_atom_reply_t> answer(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(std::strlen(name)), name), nullptr), &std::free);
    return answer ? answer->atom : xcb_atom_t(XCB_ATOM_NONE);
}

void notify(const xcb_selection_request_event_t& request, xcb_atom_t property)
{
    xcb_selection_notify_event_t event = {};
    event.response_type = XCB_SELECTION_NOTIFY;
    event.time = request.time;
    event.requestor = request.requestor;
    event.selection = request.selection;
    event.target = request.target;
    event.property = property;
    xcb_send_event(c, 0, request.requestor, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&event));
    xcb_flush(c);
}

// The clipboard's text from its owner, the reply waited for (others are ignored
// meanwhile: the exiting program is the only one talking to us).
bool fetch(xcb_atom_t clipboard, xcb_atom_t target, xcb_atom_t property, xcb_timestamp_t time, std::string* text)
{
    xcb_convert_selection(c, window, clipboard, target, property, time);
    xcb_flush(c);
    while (xcb_generic_event_t* raw = xcb_wait_for_event(c)) {
        const Reply<xcb_generic_event_t> event(raw, &std::free);
        if ((event->response_type & 0x7f) != XCB_SELECTION_NOTIFY)
            continue;
        const auto* notified = reinterpret_cast<const xcb_selection_notify_event_t*>(raw);
        if (notified->property == XCB_NONE)
            return false;
        Reply<xcb_get_property_reply_t> value(
            xcb_get_property_reply(c, xcb_get_property(c, 1, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 1 << 20), nullptr),
            &std::free);
        if (!value)
            return false;
        text->assign(static_cast<const char*>(xcb_get_property_value(value.get())), size_t(xcb_get_property_value_length(value.get())));
        return true;
    }
    return false;
}

} // namespace

int main()
{
    c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c))
        return 1;
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    window = xcb_generate_id(c);
    const uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_create_window(c, 0, window, screen->root, 0, 0, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY, screen->root_visual,
                      XCB_CW_EVENT_MASK, &mask);
    const xcb_atom_t manager = atom("CLIPBOARD_MANAGER");
    const xcb_atom_t clipboard = atom("CLIPBOARD");
    const xcb_atom_t saveTargets = atom("SAVE_TARGETS");
    const xcb_atom_t targets = atom("TARGETS");
    const xcb_atom_t utf8 = atom("UTF8_STRING");
    const xcb_atom_t kept = atom("KEEPER_DATA");
    xcb_set_selection_owner(c, window, manager, XCB_CURRENT_TIME);
    Reply<xcb_get_selection_owner_reply_t> owner(xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, manager), nullptr),
                                                 &std::free);
    if (!owner || owner->owner != window)
        return 1;
    std::printf("ready\n");
    std::fflush(stdout);

    std::string text;
    bool owning = false;
    while (xcb_generic_event_t* raw = xcb_wait_for_event(c)) {
        const Reply<xcb_generic_event_t> event(raw, &std::free);
        const int type = event->response_type & 0x7f;
        if (type == XCB_SELECTION_CLEAR) {
            owning = owning && reinterpret_cast<const xcb_selection_clear_event_t*>(raw)->selection != clipboard;
            continue;
        }
        if (type != XCB_SELECTION_REQUEST)
            continue;
        const auto request = *reinterpret_cast<const xcb_selection_request_event_t*>(raw);
        if (request.selection == manager && request.target == saveTargets) {
            owning = fetch(clipboard, utf8, kept, request.time, &text);
            if (owning)
                xcb_set_selection_owner(c, window, clipboard, XCB_CURRENT_TIME);
            notify(request, owning ? request.property : xcb_atom_t(XCB_NONE));
            std::printf("saved %zu bytes\n", owning ? text.size() : 0);
            std::fflush(stdout);
        } else if (request.selection == clipboard && owning && request.target == targets) {
            const xcb_atom_t offered[] = {targets, utf8};
            xcb_change_property(c, XCB_PROP_MODE_REPLACE, request.requestor, request.property, XCB_ATOM_ATOM, 32, 2, offered);
            notify(request, request.property);
        } else if (request.selection == clipboard && owning && request.target == utf8) {
            xcb_change_property(c, XCB_PROP_MODE_REPLACE, request.requestor, request.property, utf8, 8,
                                uint32_t(text.size()), text.data());
            notify(request, request.property);
        } else {
            notify(request, XCB_NONE);
        }
    }
    return 0;
}
