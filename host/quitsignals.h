#pragma once

#include <QObject>

class QSocketNotifier;

// SIGTERM, SIGINT and SIGHUP (a logout, Ctrl+C, a closed terminal) end the host the
// way closing its window does: pending saves are written and the clipboard it holds
// goes to the clipboard manager. The handler only writes to a pipe; `received` comes
// from the event loop. A second signal of the same kind ends the process at once.
class QuitSignals : public QObject
{
    Q_OBJECT
public:
    explicit QuitSignals(QObject* parent = nullptr);
    ~QuitSignals() override;

    static QString nameOf(int signal);

signals:
    void received(int signal);

private:
    void readPipe();

    QSocketNotifier* m_notifier = nullptr;
};
