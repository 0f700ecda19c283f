#pragma once

#include <QAbstractNativeEventFilter>

#include <functional>
#include <memory>

// Watches the requests that other X clients send us, as owner of a selection
// (CLIPBOARD or PRIMARY), for its content, and tells whether each comes from the paste target:
// the client that had the keyboard focus when the watch started. A clipboard manager
// that copies every new content is thus not taken for the paste. Requests for the
// list of formats or a time stamp are not reported. Qt answers each request right
// after the watch has seen it.
class X11SelectionWatch final : public QAbstractNativeEventFilter
{
public:
    enum class Target { OwnProcess, OtherClient, Unknown };

    // Null when the application does not run on X11.
    static std::unique_ptr<X11SelectionWatch> start(const char* selection, std::function<void(bool fromTarget)> onRequest);
    ~X11SelectionWatch() override;

    // Where the keyboard focus was: in one of our own windows, another client's, or
    // nowhere we can tell.
    Target target() const { return m_target; }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    X11SelectionWatch() = default;
    bool isPasteTarget(quint32 requestor) const;

    std::function<void(bool)> m_onRequest;
    Target m_target = Target::Unknown;
    quint32 m_clientMask = 0;     // the bits of a resource id that name its client
    quint32 m_focusClient = 0;
    quint32 m_selection = 0;
    quint32 m_noFetch[4] = {};    // TARGETS, MULTIPLE, TIMESTAMP, SAVE_TARGETS
};
