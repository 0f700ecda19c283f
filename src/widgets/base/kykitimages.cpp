#include "kykitimages.h"

#include "widgetslog.h"

#include <QFile>
#include <QSet>
#include <QString>

int KyKitImages::reportMissing(const char* owner, const char* const* paths, std::size_t count)
{
    static QSet<QString> reported;  // GUI thread only
    int missing = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const QString path = QString::fromLatin1(paths[i]);
        if (QFile::exists(path))
            continue;
        ++missing;
        if (reported.contains(path))
            continue;
        reported.insert(path);
        qCWarning(lcWidgets).noquote() << QStringLiteral("[%1] kit image missing from the resources:")
                                              .arg(QLatin1String(owner))
                                       << path;
    }
    return missing;
}
