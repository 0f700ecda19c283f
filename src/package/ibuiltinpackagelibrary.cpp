#include "ibuiltinpackagelibrary.h"

#include "cloud/cloudserviceurlmanager.h"
#include "packagelog.h"
#include "plugin/hostcontext/kyvantaproxy.h"

#include <QFile>
#include <QJsonDocument>

namespace {
const QString kLibraryKey = QStringLiteral("library");
const QString kVersionCodeKey = QStringLiteral("versionCode");
const QString kVersionNameKey = QStringLiteral("versionName");
const QString kUnknownVersion = QStringLiteral("x.x.x");
}

IBuiltInPackageLibrary::IBuiltInPackageLibrary(QString name, QObject* parent)
    : QObject(parent)
    , packageName(std::move(name))
{
}

IBuiltInPackageLibrary::~IBuiltInPackageLibrary() = default;

bool IBuiltInPackageLibrary::loadConfig()
{
    const QString path = QStringLiteral(":/%1/CategoryConfig.json").arg(packageName);
    if (!QFile::exists(path)) {
        qCCritical(lcPackage) << "Failed to find json file from bundle.Resources" << path;
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        qCCritical(lcPackage) << "Failed to load json file from bundle.Resources";
        return false;
    }
    QByteArray bytes = file.readAll().simplified();
    bytes.replace('\n', QByteArray());
    const QString text = QString::fromUtf8(bytes);
    file.close();
    config = QJsonDocument::fromJson(text.toUtf8()).object();
    return true;
}

int IBuiltInPackageLibrary::versionCode()
{
    const QJsonValue library = config.value(kLibraryKey);
    if (library.isObject())
        return library.toObject().value(kVersionCodeKey).toInt();
    return config.value(kVersionCodeKey).toInt();
}

QString IBuiltInPackageLibrary::versionName()
{
    const QJsonValue library = config.value(kLibraryKey);
    if (library.isObject())
        return library.toObject().value(kVersionNameKey).toString();
    if (config.contains(kVersionNameKey))
        return config.value(kVersionNameKey).toString();
    return kUnknownVersion;
}

QTranslator* IBuiltInPackageLibrary::translate(const QString& lang)
{
    if (!translator.load(QStringLiteral(":/%1/language_%2.qm").arg(packageName, lang))) {
        qCWarning(lcPackage) << "[dll] load translation failed" << packageName << lang;
        return nullptr;
    }
    return &translator;
}

bool IBuiltInPackageLibrary::init(const QJsonObject& params)
{
    KyVantaProxy* proxy = KyVantaProxy::getInstance();
    proxy->port = params.value(QStringLiteral("port")).toInt();
    proxy->configDir = params.value(QStringLiteral("configDir")).toString();
    CloudServiceUrlManager::setCloudType(
        static_cast<CloudAPI::CloudType>(params.value(QStringLiteral("cloudType")).toInt()));
    return postInit();
}

void IBuiltInPackageLibrary::startService(KyInterfaceRcc*, const QJsonObject&) {}

void IBuiltInPackageLibrary::stopService() {}

QJsonObject IBuiltInPackageLibrary::list()
{
    return config;
}

void IBuiltInPackageLibrary::onTask(const QJsonObject&, QJsonObject&) {}

bool IBuiltInPackageLibrary::postInit()
{
    return true;
}
