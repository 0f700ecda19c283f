#pragma once

#include <QObject>

#include <functional>

// Receives the extension's FocusChanged signal from the bus (QtDBus connects signals to
// slots of a QObject only) and hands its JSON on.
class GnomeFocusSignal final : public QObject
{
    Q_OBJECT
public:
    explicit GnomeFocusSignal(std::function<void(const QString&)> handler);

public slots:
    void focusChanged(const QString& window);

private:
    std::function<void(const QString&)> m_handler;
};
