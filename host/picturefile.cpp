#include "picturefile.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QXmlStreamReader>
#include <QtEndian>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr int kMaxNesting = 4;  // data: pictures inside an SVG inside ...
constexpr int kQtDefaultLimitMiB = 256;

QString tooLarge()
{
    return QStringLiteral("larger than %1 bytes").arg(PictureFile::kMaxBytes);
}

bool pngChunksFit(const QByteArray& bytes)
{
    static const QByteArray kSignature("\x89PNG\r\n\x1a\n", 8);
    if (!bytes.startsWith(kSignature))
        return true;
    qint64 at = kSignature.size();
    while (at + 8 <= bytes.size()) {
        const char* header = bytes.constData() + at;
        at += 12 + qint64(qFromBigEndian<quint32>(header));  // length, type, data, CRC
        if (at > bytes.size())
            return false;
        if (QByteArray::fromRawData(header + 4, 4) == "IEND")
            break;
    }
    return true;
}
// Whether to decode scaled: only a picture large enough that a whole decode would cost,
// and not a palette or one-bit one, which the PNG decoder scales into noise.
bool decodesScaled(QImageReader& reader)
{
    constexpr qint64 kWholePixels = 1024 * 1024;
    const QSize size = reader.size();
    switch (reader.imageFormat()) {
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
    case QImage::Format_Indexed8:
        return false;
    default:
        return qint64(size.width()) * size.height() > kWholePixels;
    }
}

} // namespace

QByteArray PictureFile::read(const QString& path, QString* why)
{
    why->clear();
    const QFileInfo info(path);
    if (!info.exists())
        *why = QStringLiteral("no such file");
    else if (!info.isFile())
        *why = QStringLiteral("not a regular file");  // not even opened
    else if (info.size() > kMaxBytes)
        *why = tooLarge();
    QByteArray bytes;
    if (why->isEmpty())
        bytes = readOpened(path, why);
    if (why->isEmpty())
        *why = contentRefusal(bytes, 0);
    return why->isEmpty() ? bytes : QByteArray();
}

// Opened without waiting; the type and size checked are those of what was opened.
QByteArray PictureFile::readOpened(const QString& path, QString* why)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        *why = errno == EACCES ? QStringLiteral("not readable") : QString::fromLocal8Bit(std::strerror(errno));
        return {};
    }
    QFile file;
    struct stat status = {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode))
        *why = QStringLiteral("not a regular file");
    else if (status.st_size > kMaxBytes)
        *why = tooLarge();
    else if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::DontCloseHandle))
        *why = file.errorString();
    QByteArray bytes;
    if (why->isEmpty()) {
        bytes = file.read(kMaxBytes + 1);  // one more shows a file that grew
        if (bytes.size() > kMaxBytes)
            *why = tooLarge();
    }
    file.close();
    ::close(fd);
    return bytes;
}

// Only a fragment (#id) or a base64 data: URI (checked in turn) keeps the SVG decoder
// from opening a file an href names. Bytes that are no XML stop the parser at once.
QString PictureFile::contentRefusal(const QByteArray& bytes, int depth)
{
    if (bytes.startsWith("\x1f\x8b"))
        return QStringLiteral("a compressed SVG");
    if (!pngChunksFit(bytes))
        return QStringLiteral("damaged PNG: a chunk runs past the end of the file");
    QXmlStreamReader xml(bytes);
    xml.setNamespaceProcessing(false);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QXmlStreamAttributes attributes = xml.attributes();
        for (const QXmlStreamAttribute& attribute : attributes) {
            const QStringView name = attribute.qualifiedName();
            if (name != u"href" && !name.endsWith(u":href"))
                continue;
            const QString value = attribute.value().trimmed().toString();
            if (value.startsWith(QLatin1Char('#')))
                continue;
            if (!value.startsWith(QLatin1String("data:"), Qt::CaseInsensitive))
                return QStringLiteral("an SVG that refers to another file (%1)").arg(value.left(100));
            const int start = value.lastIndexOf(QLatin1String("base64,"));
            if (start < 0)
                continue;
            if (depth >= kMaxNesting)
                return QStringLiteral("an SVG with pictures nested more than %1 deep").arg(kMaxNesting);
            const QString inner = contentRefusal(QByteArray::fromBase64(value.mid(start + 7).toLatin1()), depth + 1);
            if (!inner.isEmpty())
                return inner;
        }
    }
    return {};
}

QImage PictureFile::decode(const QByteArray& bytes, const QSize& box, QString* why)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QSize size = reader.size();
    const int limitMiB = QImageReader::allocationLimit() > 0 ? QImageReader::allocationLimit() : kQtDefaultLimitMiB;
    const qint64 maxPixels = qint64(limitMiB) * 1024 * 1024 / 4;
    if (!reader.format().startsWith("svg") && qint64(size.width()) * size.height() > maxPixels) {
        *why = QStringLiteral("a picture of %1 x %2 pixels, more than %3 pixels").arg(size.width()).arg(size.height()).arg(maxPixels);
        return {};
    }
    const QSize cover = size.scaled(box, Qt::KeepAspectRatioByExpanding).expandedTo(QSize(1, 1));
    if (box.isValid() && size.isValid() && cover.width() < size.width() && decodesScaled(reader))
        reader.setScaledSize(cover);
    const QImage image = reader.read();
    *why = image.isNull() ? reader.errorString() : QString();
    return image;
}

QImage PictureFile::load(const QString& path, const QSize& box, QString* why)
{
    const QByteArray bytes = read(path, why);
    return why->isEmpty() ? decode(bytes, box, why) : QImage();
}
