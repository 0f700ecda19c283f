#pragma once

#include "actioninterface.h"
#include "packageinterface.h"

#include <QJsonObject>
#include <QString>

// What the host does to every action object, for a key and for a step of a
// multi-action alike: the event envelopes it sends and how a stored entry
// {"category", "target", "payload" | "preset"} becomes an initialised action.
namespace ActionCalls {

inline const QString kSetSettings = QStringLiteral("tov.ky.plugin.event.set.settings");
inline const QString kKeyDown = QStringLiteral("tov.ky.plugin.event.key.down");
inline const QString kKeyUp = QStringLiteral("tov.ky.plugin.event.key.up");
inline const QString kAppTriggered = QStringLiteral("tov.ky.plugin.event.app.triggered");

QJsonObject envelope(const QString& target, const QString& type);

// What the action is initialised with: the stored settings, else the preset, else defaults.
QJsonObject paramsOf(const QJsonObject& entry);

// Asks the package for the entry's action (`n` is handed to makeWidget). Null, with
// why, when the entry lacks a category or target string, has a payload that is no
// object, or names an action the package does not have. The entry is never changed.
host::ActionInterface* create(host::PackageInterface* package, const QJsonObject& entry, int n, QString* error);

// The payload of a set-settings event, or false when `event` is something else.
bool reportedSettings(const QJsonObject& event, QJsonObject* payload);

} // namespace ActionCalls
