#pragma once

#include "platform/windowcontrol/windowtask.h"
#include "pluginwindowscontrol.h"

#include <QJsonValue>
#include <QPoint>
#include <QSize>

// Windows Control's record: the shared keys plus the target window (title, process
// name), the window action as decimal text, and the frame asked for. Unlike the other
// actions, its presets and versioned payloads keep only the first title and icon,
// older profiles name them "onTitle" and "onImagePath", and a preset starts from the
// defaults. "windowMatch": {"by": "program", "appId": "..."} asks for any window of
// the program. An unset size stays invalid (-1 x -1) and is stored so.
class PluginWindowsControl::PayloadImpl : public ActionPayload
{
public:
    QString iconFilePath;  // never set by this action
    QString windowTitleName;
    QString processNameOfWindow;
    QString windowAction;
    QPoint leftTopPosition;
    QSize windowSize;
    // Any window of the program (its app id, else its process name) rather than the one
    // titled windowTitleName: for windows whose titles change. Stored under "windowMatch",
    // only when set, so older hosts and older records see what they always saw.
    bool anyWindowOfProgram = false;
    QString appIdOfWindow;
    QJsonValue unknownMatch;  // a "windowMatch" of another form, written back as it came

    // What a trigger does. A window action that is no operation's number (none chosen,
    // say) is a resize, which is what the inspector then shows.
    WindowTask task() const;

protected:
    QString defaultTitle() const override;
    QString defaultIcon() const override;
    void resetOwn() override;
    void readOwn(const QJsonObject& json, Form form) override;
    void writeOwn(QJsonObject& json) const override;

private:
    void readFirstEntries(const QJsonObject& json, Form form);
    void readWindowFields(const QJsonObject& json);
};
