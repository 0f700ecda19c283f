#include "imagefile.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>

namespace {

// A PNG chunk states its length before its data, and the decoder allocates and clears
// that much before it reads: a file of a few hundred bytes can claim 2 GiB for a text
// chunk. Every chunk up to the end marker must fit in the file.
bool pngChunksFit(const QString& path, qint64 size)
{
    static const QByteArray kSignature("\x89PNG\r\n\x1a\n", 8);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return true;  // the loader reports what it cannot open
    if (file.read(kSignature.size()) != kSignature)
        return true;  // not a PNG
    qint64 at = kSignature.size();
    while (at + 8 <= size) {
        char header[8];
        if (!file.seek(at) || file.read(header, 8) != 8)
            return false;
        at += 12 + qint64(qFromBigEndian<quint32>(header));  // length, type, data, CRC
        if (at > size)
            return false;
        if (QByteArray::fromRawData(header + 4, 4) == "IEND")
            break;
    }
    return true;
}

} // namespace

QString ImageFile::refusal(const QString& path)
{
    if (path.isEmpty())
        return QStringLiteral("no file named");
    const QFileInfo info(path);  // follows symbolic links
    if (!info.exists())
        return QStringLiteral("no such file");
    if (!info.isFile())
        return QStringLiteral("not a regular file");
    if (info.size() > kMaxBytes)
        return QStringLiteral("larger than %1 bytes").arg(kMaxBytes);
    if (!pngChunksFit(path, info.size()))
        return QStringLiteral("damaged PNG: a chunk runs past the end of the file");
    return {};
}
