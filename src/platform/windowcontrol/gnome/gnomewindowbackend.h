#pragma once

#include "platform/windowcontrol/pendingframes.h"
#include "platform/windowcontrol/windowcontrolconstants.h"
#include "platform/windowcontrol/windowbackend.h"

#include <QDBusConnection>
#include <QJsonObject>

#include <optional>

class GnomeFocusSignal;
class QDBusMessage;

// Window control on GNOME Shell, which lets no other program touch windows, through a
// Shell extension of ours (gnome/extension, installed under
// share/gnome-shell/extensions/window-control@vanta.corvane.com): it answers on the
// shell's bus name with the windows (title, pid, app id, outer frame, state) and the
// five operations, and signals each change of the focused window.
class GnomeWindowBackend final : public WindowBackend
{
public:
    static constexpr char kExtensionUuid[] = "window-control@vanta.corvane.com";

    // Null when the extension does not answer on the bus (the session bus unless
    // given); *problem then says why.
    static std::unique_ptr<GnomeWindowBackend> open(QString* problem = nullptr);
    static std::unique_ptr<GnomeWindowBackend> open(const QDBusConnection& bus, QString* problem);
    ~GnomeWindowBackend() override;

    QString name() const override;
    QList<Window> enumerate() override;
    bool setSize(int index, const QSize& size) override;
    bool setPosition(int index, const QPoint& position) override;
    bool close(int index) override;
    bool maximize(int index) override;
    bool minimize(int index) override;
    bool appliesLater() const override;
    bool settle(int index, QRectF* frame) override;
    bool watchFocus(FocusListener listener) override;
    FocusedWindow focusedWindow() override;

private:
    struct Listed
    {
        quint64 id = 0;
        Window window;
    };
    explicit GnomeWindowBackend(const QDBusConnection& bus);
    // A call on the extension's object, waited for boundedly. Plain messages rather than
    // an interface object: that one would ask the shell to describe itself first.
    static QDBusMessage callShell(const QDBusConnection& bus, const QString& method, const QVariantList& arguments = {},
                                  int timeoutMs = WindowControlConstants::kIpcTimeoutMs);
    std::optional<QList<Listed>> list();
    bool call(int index, const char* operation, const char* method, const QVariantList& extra = {});
    // Lists until the window shows what was asked, boundedly, and reports its frame then.
    bool waitFor(quint64 id, const PendingFrame& request, QRectF* frame);
    static Listed fromJson(const QJsonObject& window);
    static FocusedWindow focusOf(const QString& json);

    QDBusConnection m_bus;
    std::unique_ptr<GnomeFocusSignal> m_focusSignal;
    QList<Listed> m_windows;               // the last listing
    PendingFrames<Listed> m_pending;       // what settle() waits for
    FocusListener m_focusListener;
    FocusedWindow m_focused;
    bool m_saidOldExtension = false;
};
