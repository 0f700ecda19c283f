#include "fileiconpicture.h"

#include "iconbuilderconstants.h"
#include "iconbuilderlog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QStandardPaths>

using namespace IconBuilderConst;

namespace {
QImage opaque(const QImage& image)
{
    if (!image.hasAlphaChannel())
        return image;
    QImage flat(image.size(), QImage::Format_RGB32);
    flat.fill(kPictureBackground);
    QPainter painter(&flat);
    painter.drawImage(0, 0, image);
    return flat;
}
} // namespace

QString FileIconPicture::folder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QLatin1Char('/')
         + QLatin1String(kPictureFolder);
}

int FileIconPicture::chooseSize(const QList<QSize>& sizes)
{
    if (sizes.isEmpty())
        return -1;
    int best = 0;
    int bestDifference = kNoSizeDifference;
    for (int i = 0; i < sizes.size(); ++i) {
        const int difference = sizes.at(i).width() - kKeyWidth;
        // Wider than a key: the closest wins. Not wider: only while nothing wider was seen.
        const bool take = difference > 0 ? (bestDifference <= 0 || difference < bestDifference)
                                         : difference > bestDifference;
        if (take) {
            best = i;
            bestDifference = difference;
        }
    }
    return best;
}

QPixmap FileIconPicture::render(const QIcon& icon)
{
    const QList<QSize> sizes = icon.availableSizes(QIcon::Normal, QIcon::Off);
    const int chosen = chooseSize(sizes);
    if (chosen < 0)
        return {};
    return icon.pixmap(sizes.at(chosen), QIcon::Normal, QIcon::Off);
}

QString FileIconPicture::baseName(const QString& path)
{
    const QFileInfo info(path);
    QString base = info.completeBaseName();
    if (base.isEmpty())
        base = info.bundleName();
    if (base.isEmpty())
        base = info.path().split(QLatin1Char('/')).last().remove(QLatin1String(kBundleSuffix));
    return base.isEmpty() ? QLatin1String(kPictureFallbackName) : base;
}

QString FileIconPicture::saveNew(const QImage& image, const QString& base)
{
    const QString dir = folder();
    if (!QDir().mkpath(dir)) {
        qCWarning(lcIconBuilder) << "[FileIconPicture] cannot create" << dir;
        return {};
    }
    const QString suffix = QLatin1Char('.') + QLatin1String(kPictureSuffix);
    for (int counter = 0; counter < kMaxCounter; ++counter) {
        const QString name = counter == 0 ? base + suffix : base + QString::number(counter) + suffix;
        QFile file(dir + QLatin1Char('/') + name);
        // NewOnly refuses any existing name, also one taken meanwhile by another process.
        if (file.exists() || !file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            continue;
        if (opaque(image).save(&file, kPictureFormat))
            return file.fileName();
        qCWarning(lcIconBuilder) << "[FileIconPicture] cannot write" << file.fileName();
        file.remove();
        return {};
    }
    qCWarning(lcIconBuilder) << "[FileIconPicture] no free name for" << base << "in" << dir;
    return {};
}

bool FileIconPicture::isRemovable(const QString& path)
{
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    if (info.path() != folder() || info.isSymLink() || !info.isFile())
        return false;
    const QStringList names = QDir(folder()).entryList({QStringLiteral("*.*")}, QDir::Files);
    return names.contains(info.fileName());
}
