#pragma once

#include "interfacetowindowcontrol.h"
#include "windowbackend.h"

#include <QTime>
#include <QVector>

#include <functional>
#include <memory>

// InterfaceToWindowControl on top of any WindowBackend, which it owns. A listing is
// kept as windowInfos and served again for 1000 ms, because listing can be slow;
// a lookup followed by an action therefore lists at most once. Actions find their
// window by exact title, the first one listed winning.
class WindowControl : public InterfaceToWindowControl
{
    Q_OBJECT
public:
    using Clock = std::function<QTime()>;

    // With the backend chosen for this process (WindowBackend::create()).
    explicit WindowControl(QObject* parent = nullptr);
    explicit WindowControl(std::unique_ptr<WindowBackend> backend, QObject* parent = nullptr);
    ~WindowControl() override;

    void setTargetWindowSize(QString title, const QSize& size) override;
    void setTargetWindowLeftTopPosition(QString title, const QPoint& position) override;
    void closeTargetWindow(QString title) override;
    void maximunTargetWindow(QString title) override;
    void minimunTargetWindow(QString title) override;
    void resizeTargetWindow(QString title) override;
    void getTargetWindowInformation(QString title) override;
    QList<TovWindowControl::WindowsInfo> getAllWindowInfos() override;
    int getIndexOfWindowInfos(QList<TovWindowControl::WindowsInfo> list, QString title) override;

    // Time of day used for the snapshot's age; QTime::currentTime unless replaced.
    void setClock(Clock clock);
    QString backendName() const;
    WindowBackend::Missing missing() const override;

    QList<TovWindowControl::WindowsInfo> windowInfos;  // the last listing
    QTime lastRefreshTime;                             // null until the first listing

private:
    bool snapshotIsFresh() const;
    void refresh();
    // Runs act with the backend index of the window titled title, if it is listed.
    void withWindow(const QString& title, const std::function<void(int)>& act);

    std::unique_ptr<WindowBackend> m_backend;
    QVector<int> m_backendIndex;  // backend index of each record of windowInfos
    Clock m_clock;
};
