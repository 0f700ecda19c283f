#include "iconfolder.h"

#include "iconbuilderconstants.h"
#include "iconbuilderlog.h"
#include "plugin/hostcontext/kyvantaproxy.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

QString IconFolder::path()
{
    const QString configDir = KyVantaProxy::getInstance()->configDir;
    if (configDir.isEmpty())
        return {};
    return QDir(configDir).filePath(QLatin1String(IconBuilderConst::kIconFolder));
}

QString IconFolder::claimNewFile(const QString& suffix)
{
    return claimNewFile(suffix, QDateTime::currentDateTime());
}

QString IconFolder::claimNewFile(const QString& suffix, const QDateTime& when)
{
    const QString folder = path();
    if (folder.isEmpty()) {
        qCWarning(lcIconBuilder) << "[IconFolder] no configuration directory; icon not stored";
        return {};
    }
    if (!QDir().mkpath(folder)) {
        qCWarning(lcIconBuilder) << "[IconFolder] cannot create" << folder;
        return {};
    }
    const QString stem = when.toString(QLatin1String(IconBuilderConst::kFileNameFormat));
    const QString dotSuffix = suffix.isEmpty() ? QString() : QLatin1Char('.') + suffix;
    for (int counter = 0; counter < IconBuilderConst::kMaxCounter; ++counter) {
        const QString name = counter == 0
            ? stem + dotSuffix
            : stem + QLatin1String(IconBuilderConst::kCounterSeparator) + QString::number(counter) + dotSuffix;
        const QString target = folder + QLatin1Char('/') + name;
        QFile file(target);
        // NewOnly fails on an existing name, also when another process races us.
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return target;
        if (!file.exists()) {
            qCWarning(lcIconBuilder) << "[IconFolder] cannot create" << target << file.errorString();
            return {};
        }
    }
    qCWarning(lcIconBuilder) << "[IconFolder] no free name for" << stem << "in" << folder;
    return {};
}

bool IconFolder::contains(const QString& filePath)
{
    const QString folder = path();
    if (folder.isEmpty() || filePath.isEmpty())
        return false;
    const QString dir = QFileInfo(filePath).absoluteDir().canonicalPath();
    return !dir.isEmpty() && dir == QDir(folder).canonicalPath();
}
