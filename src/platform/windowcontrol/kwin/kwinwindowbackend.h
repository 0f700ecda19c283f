#pragma once

#include "platform/windowcontrol/pendingframes.h"
#include "platform/windowcontrol/windowbackend.h"

#include <QDBusConnection>
#include <QJsonObject>

class KWinScripting;

// Window control on KDE Plasma through KWin scripting: every listing and every operation
// is a small script run inside KWin (KWin 5 and 6 names alike), answering over the bus.
// A script loaded for the life of the backend reports each change of the active window.
class KWinWindowBackend final : public WindowBackend
{
public:
    // Null when KWin's scripting does not answer on the bus (the session bus unless
    // given); *problem then says why.
    static std::unique_ptr<KWinWindowBackend> open(QString* problem = nullptr);
    static std::unique_ptr<KWinWindowBackend> open(const QDBusConnection& bus, QString* problem);
    ~KWinWindowBackend() override;

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

    // One window as a script describes it: KWin's id for it and what is listed.
    struct Listed
    {
        QString id;
        Window window;
    };
    static Listed fromJson(const QJsonObject& window);

private:
    explicit KWinWindowBackend(std::unique_ptr<KWinScripting> scripting);
    bool operate(int index, const char* operation, const QString& verb);

    std::unique_ptr<KWinScripting> m_scripting;
    QList<Listed> m_windows;            // the last listing
    PendingFrames<Listed> m_pending;    // applied together when the window settles
    FocusListener m_focusListener;
    FocusedWindow m_focused;
    bool m_watching = false;
};
