#pragma once

// The host's own declaration of an action object (see packageinterface.h): the
// virtual operations in slot order, and the signal it listens to, by name.

#include <QJsonObject>
#include <QObject>
#include <QString>

class QWidget;

namespace host {

class ActionInterface : public QObject
{
public:
    virtual bool init(const QString& target, const QJsonObject& params) = 0;
    virtual void eventReceived(const QJsonObject& event, QJsonObject& result) = 0;
    virtual void eventReceived(const QJsonObject& event, QJsonObject& result, int) = 0;
    virtual QWidget* pluginWidget() = 0;
    virtual QWidget* propertyWidget() = 0;
    virtual QString actionTitle() const = 0;
    virtual QString actionIconFilePath() const = 0;
    virtual int onKeyUpEvent(const QJsonObject&) = 0;
    virtual int onKeyDownEvent(const QJsonObject&) = 0;
    virtual int onAppTriggeredEvent(const QJsonObject&) = 0;
    virtual int onSetSettingsEvent(const QJsonObject&) = 0;
    virtual int onSyncUI() = 0;
    virtual bool init(const QString& target) = 0;
    virtual bool initWithDefault() = 0;
    virtual bool initWithPayload(const QJsonObject& payload) = 0;
    virtual bool initWithPreset(const QJsonObject& preset) = 0;

    // Plain fields after QObject's, in this order.
    QString target;
    QString category;
    bool actionMode = false;
};

// The action's settings report, for QObject::connect by signature.
inline const char* const kEventSentSignal = "2eventSent(QJsonObject)";

} // namespace host
