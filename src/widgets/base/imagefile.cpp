#include "imagefile.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QXmlStreamReader>
#include <QtEndian>

#if defined(Q_OS_UNIX)
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

// An SVG may hold a picture as a data: URI, which may hold an SVG in turn.
constexpr int kMaxNesting = 4;

QString tooLarge()
{
    return QStringLiteral("larger than %1 bytes").arg(ImageFile::kMaxBytes);
}

#if defined(Q_OS_UNIX)
// One open that never waits, then the type and size of what was opened (not of what
// the path named a moment before), then at most one byte past the cap.
QByteArray readOpened(const QString& path, QString* why)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        *why = errno == ENOENT ? QStringLiteral("no such file")
                               : QStringLiteral("cannot be opened: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
        return {};
    }
    QByteArray bytes;
    struct stat status = {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        *why = QStringLiteral("not a regular file");
    } else if (status.st_size > ImageFile::kMaxBytes) {
        *why = tooLarge();
    } else {
        bytes.resize(qsizetype(status.st_size) + 1);  // one more shows a file that grew
        qsizetype done = 0;
        while (done < bytes.size()) {
            const ssize_t got = ::read(fd, bytes.data() + done, size_t(bytes.size() - done));
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0) {
                *why = QStringLiteral("cannot be read: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
                break;
            }
            if (got == 0)
                break;
            done += got;
            if (done == bytes.size() && done <= ImageFile::kMaxBytes)
                bytes.resize(qMin<qsizetype>(done + 64 * 1024, ImageFile::kMaxBytes + 1));
        }
        bytes.resize(done);
        if (done > ImageFile::kMaxBytes)
            *why = tooLarge();
    }
    ::close(fd);
    if (!why->isEmpty())
        return {};
    return bytes;
}
#else
QByteArray readOpened(const QString& path, QString* why)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *why = QStringLiteral("cannot be opened: %1").arg(file.errorString());
        return {};
    }
    const QByteArray bytes = file.read(ImageFile::kMaxBytes + 1);
    if (bytes.size() > ImageFile::kMaxBytes)
        *why = tooLarge();
    return why->isEmpty() ? bytes : QByteArray();
}
#endif

// Every chunk up to the end marker must fit in the bytes.
bool pngChunksFit(const QByteArray& bytes)
{
    static const QByteArray kSignature("\x89PNG\r\n\x1a\n", 8);
    if (!bytes.startsWith(kSignature))
        return true;
    const qint64 size = bytes.size();
    qint64 at = kSignature.size();
    while (at + 8 <= size) {
        const char* header = bytes.constData() + at;
        at += 12 + qint64(qFromBigEndian<quint32>(header));  // length, type, data, CRC
        if (at > size)
            return false;
        if (QByteArray::fromRawData(header + 4, 4) == "IEND")
            break;
    }
    return true;
}

QString contentRefusal(const QByteArray& bytes, int depth);

// Why the SVG in `bytes` would make the decoder open a file; empty when it would not.
// Not an SVG at all: the parser stops at once. A reference the SVG decoder follows is
// an href on any element: only a fragment (#id) or a data: URI stays inside.
QString svgReference(const QByteArray& bytes, int depth)
{
    QXmlStreamReader xml(bytes);
    xml.setNamespaceProcessing(false);  // as the decoder reads it: "xlink:href" by name
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
            // The decoder decodes base64 data and ignores any other.
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

QString contentRefusal(const QByteArray& bytes, int depth)
{
    if (bytes.startsWith("\x1f\x8b"))  // gzip: to the decoders, a compressed SVG
        return QStringLiteral("a compressed SVG");
    if (!pngChunksFit(bytes))
        return QStringLiteral("damaged PNG: a chunk runs past the end of the file");
    return svgReference(bytes, depth);
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

QByteArray ImageFile::read(const QString& path, QString* refusal)
{
    QString why;
    const QFileInfo info(path);  // follows symbolic links
    if (path.isEmpty())
        why = QStringLiteral("no file named");
    else if (!info.exists())
        why = QStringLiteral("no such file");
    else if (!info.isFile())
        why = QStringLiteral("not a regular file");  // not even opened
    else if (info.size() > kMaxBytes)
        why = tooLarge();
    QByteArray bytes;
    if (why.isEmpty() && path.startsWith(QLatin1Char(':'))) {  // compiled in: nothing to wait for
        QFile resource(path);
        if (resource.open(QIODevice::ReadOnly))
            bytes = resource.readAll();
        else
            why = QStringLiteral("cannot be opened: %1").arg(resource.errorString());
    } else if (why.isEmpty()) {
        bytes = readOpened(path, &why);
    }
    if (why.isEmpty())
        why = ::contentRefusal(bytes, 0);
    if (refusal)
        *refusal = why;
    return why.isEmpty() ? bytes : QByteArray();
}

QString ImageFile::refusal(const QString& path)
{
    QString why;
    read(path, &why);
    return why;
}

QString ImageFile::contentRefusal(const QByteArray& bytes)
{
    return ::contentRefusal(bytes, 0);
}

qint64 ImageFile::maxPixels()
{
    constexpr int kQtDefaultMiB = 256;
    const int mib = QImageReader::allocationLimit();
    return qint64(mib > 0 ? mib : kQtDefaultMiB) * 1024 * 1024 / 4;
}

QString ImageFile::sizeRefusal(QImageReader& reader)
{
    if (reader.format().startsWith("svg"))
        return {};
    const QSize size = reader.size();
    if (qint64(size.width()) * size.height() <= maxPixels())
        return {};
    return QStringLiteral("a picture of %1 x %2 pixels, more than %3 pixels")
        .arg(size.width()).arg(size.height()).arg(maxPixels());
}

QImage ImageFile::decode(const QByteArray& bytes, const QSize& box, QString* error)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    QString why = sizeRefusal(reader);
    QImage image;
    if (why.isEmpty()) {
        const QSize size = reader.size();
        const QSize cover = size.scaled(box, Qt::KeepAspectRatioByExpanding).expandedTo(QSize(1, 1));
        if (box.isValid() && size.isValid() && cover.width() < size.width() && decodesScaled(reader))
            reader.setScaledSize(cover);
        image = reader.read();
        if (image.isNull())
            why = reader.errorString();
    }
    if (error)
        *error = why;
    return image;
}

QImage ImageFile::load(const QString& path, const QSize& box, QString* error)
{
    QString why;
    const QByteArray bytes = read(path, &why);
    const QImage image = why.isEmpty() ? decode(bytes, box, &why) : QImage();
    if (error)
        *error = why;
    return image;
}
