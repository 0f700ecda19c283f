#pragma once

// The host's own declaration of the package interfaces, as a third-party host writes
// it: only the layout of the virtual tables matters, so names of the package's private
// types never appear here. The order of the virtual operations is the binary interface.

#include <QJsonObject>
#include <QMap>
#include <QObject>
#include <QString>
#include <QTranslator>

class QWidget;

namespace host {

class ActionInterface;  // the package's action base, see actioninterface.h
class RccInterface;     // a host service handed to startService; unused by the package

class PackageInterface : public QObject
{
public:
    virtual bool loadConfig() = 0;
    virtual int versionCode() = 0;
    virtual QString versionName() = 0;
    virtual QTranslator* translate(const QString& lang) = 0;
    virtual QMap<QString, QString> mapping() = 0;
    virtual ActionInterface* makeWidget(const QString& category, int n) = 0;
    virtual bool init(const QJsonObject& params) = 0;
    virtual void startService(RccInterface* rcc, const QJsonObject& params) = 0;
    virtual void stopService() = 0;
    virtual QJsonObject list() = 0;
    virtual void onTask(const QJsonObject& task, QJsonObject& result) = 0;
    virtual bool postInit() = 0;
};

using SdkFunction = int (*)();
using InstanceFunction = PackageInterface* (*)();

} // namespace host
