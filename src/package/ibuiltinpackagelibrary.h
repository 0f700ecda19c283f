#pragma once

#include <QJsonObject>
#include <QMap>
#include <QObject>
#include <QString>
#include <QTranslator>

class KYPlugin;
class KyInterfaceRcc;  // a host type; only passed through

// Base of every built-in package library. The order of the virtual operations is part
// of the binary interface: hosts call them by slot through their own declaration.
class IBuiltInPackageLibrary : public QObject
{
    Q_OBJECT
public:
    IBuiltInPackageLibrary(QString name, QObject* parent);
    ~IBuiltInPackageLibrary() override;

    virtual bool loadConfig();
    virtual int versionCode();
    virtual QString versionName();
    virtual QTranslator* translate(const QString& lang);
    virtual QMap<QString, QString> mapping() = 0;
    virtual KYPlugin* makeWidget(const QString& category, int n) = 0;
    virtual bool init(const QJsonObject& params);
    virtual void startService(KyInterfaceRcc* rcc, const QJsonObject& params);
    virtual void stopService();
    virtual QJsonObject list();
    virtual void onTask(const QJsonObject& task, QJsonObject& result);
    virtual bool postInit();

    QString packageName;
    QJsonObject config;
    QTranslator translator;
};
