#pragma once

// Asks the owner of an X selection for its list of formats on a connection of its
// own, waiting at most a given time: Qt's clipboard waits 5 s for an owner that has
// stopped answering before it gives up.
namespace X11OwnerProbe {

enum class Result { Answers, Silent, NoOwner, Unknown };

// `selection` is "CLIPBOARD" or "PRIMARY". Unknown where there is no X display.
Result ask(const char* selection, int timeoutMs);

}
