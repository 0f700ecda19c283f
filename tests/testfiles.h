#pragma once

// Whole-file reads and writes for the fixtures the tests make themselves.

#include <QFile>
#include <QStringList>

namespace TestFiles {

inline bool write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

inline QByteArray read(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline QStringList lines(const QString& path)
{
    return QString::fromUtf8(read(path)).split('\n', Qt::SkipEmptyParts);
}

} // namespace TestFiles
