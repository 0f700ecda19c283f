#pragma once

#include <QByteArray>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

// Small helpers for the host's own xcb connections: replies freed on scope exit, atoms
// by name.
namespace XcbCalls {

template<typename T>
using Reply = std::unique_ptr<T, decltype(&std::free)>;

template<typename T>
Reply<T> reply(T* raw)
{
    return Reply<T>(raw, &std::free);
}

inline xcb_atom_t atom(xcb_connection_t* connection, const char* name)
{
    const auto answer = reply(xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, uint16_t(qstrlen(name)), name), nullptr));
    return answer ? answer->atom : xcb_atom_t(XCB_ATOM_NONE);
}

} // namespace XcbCalls
