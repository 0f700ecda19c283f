#pragma once

#include "platform/windowcontrol/windowbackend.h"

#include <QStringList>

// A window system played from a script: enumerate() returns the current script, and
// every action is written to a journal as "<operation> <title>@<process>", with the
// untrimmed strings, so tests see which window an action reached. Size and position
// requests change the script, as a window manager would.
class ScriptedWindowBackend final : public WindowBackend
{
public:
    QString name() const override { return QStringLiteral("scripted"); }
    QList<Window> enumerate() override;
    bool setSize(int index, const QSize& size) override;
    bool setPosition(int index, const QPoint& position) override;
    bool close(int index) override { return note("close", index); }
    bool maximize(int index) override { return note("maximize", index); }
    bool minimize(int index) override { return note("minimize", index); }
    bool appliesLater() const override { return delayed; }
    bool settle(int index) override { return note("settle", index) && delayed; }

    QList<Window> windows;       // what the next enumeration reports
    QStringList journal;
    int enumerations = 0;
    bool delayed = false;        // acts like a window system that applies requests later

private:
    bool note(const QString& operation, int index);
    QList<Window> m_listed;      // the last enumeration, which indexes refer to
};
