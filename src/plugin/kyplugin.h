#pragma once

#include <QJsonObject>
#include <QObject>
#include <QString>

class QWidget;

// Base of every action object. The host calls the virtual operations by slot through
// its own declaration, so their order is part of the binary interface.
class KYPlugin : public QObject
{
    Q_OBJECT
public:
    explicit KYPlugin(QObject* parent = nullptr);
    ~KYPlugin() override;

    virtual bool init(const QString& target, const QJsonObject& params) = 0;
    virtual void eventReceived(const QJsonObject& event, QJsonObject& result) = 0;
    virtual void eventReceived(const QJsonObject& event, QJsonObject& result, int);
    virtual QWidget* pluginWidget() = 0;
    virtual QWidget* propertyWidget() = 0;
    virtual QString actionTitle() const = 0;
    virtual QString actionIconFilePath() const = 0;
    virtual int onKeyUpEvent(const QJsonObject&);
    virtual int onKeyDownEvent(const QJsonObject&);
    virtual int onAppTriggeredEvent(const QJsonObject&);
    virtual int onSetSettingsEvent(const QJsonObject&);
    virtual int onSyncUI();
    virtual bool init(const QString& target);
    virtual bool initWithDefault();
    virtual bool initWithPayload(const QJsonObject& payload);
    virtual bool initWithPreset(const QJsonObject& preset);

    QString target;
    QString category;
    bool actionMode = false;

signals:
    void eventSent(const QJsonObject& event);
    void eventPassThrough(const QJsonObject& event);
    void ga(const QString& name, const QJsonObject& params);
};
