#pragma once
// Helpers shared by the action tests.
#include "plugin/kyplugin.h"
#include "plugin/tovkyplugineventtype.h"

#include <QJsonObject>
#include <QSignalSpy>

// The settings of the last set-settings report an action emitted.
inline QJsonObject lastPayload(const QSignalSpy& sent)
{
    return sent.last().first().toJsonObject()["event"].toObject()["payload"].toObject();
}

// An envelope of one event type, as the host sends it.
inline QJsonObject eventOf(const QString& type)
{
    return {{"target", "k"}, {"event", QJsonObject{{"type", type}}}};
}

// The action's answer to one event, `result` as the host filled it in.
inline QJsonObject answer(KYPlugin& action, const QString& type = TovKyPluginEventType::kAppTriggeredEvent,
                          QJsonObject result = {})
{
    action.eventReceived(eventOf(type), result);
    return result;
}

// Init parameters holding a versioned payload with these members.
inline QJsonObject v1(QJsonObject members)
{
    members.insert("version", 1);
    return {{"payload", members}};
}
