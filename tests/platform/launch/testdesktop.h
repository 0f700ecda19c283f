#pragma once

// A desktop of the test's own in a temporary folder: XDG_DATA_HOME with an icon theme
// "vantatest" (square icons in one colour per name) and application entries, and a
// bin folder in front of PATH for programs that record how they were started.

#include <QColor>
#include <QDir>
#include <QFile>
#include <QIcon>
#include <QImage>
#include <QTemporaryDir>

class TestDesktop
{
public:
    static constexpr int kSizes[] = {16, 32, 48, 128, 256, 512};

    bool setUp()
    {
        if (!m_root.isValid())
            return false;
        qputenv("XDG_DATA_HOME", QFile::encodeName(dataHome()));
        qputenv("PATH", QFile::encodeName(binDir()) + ':' + qgetenv("PATH"));
        QString directories;
        QString sections;
        for (const char* context : {"apps", "mimetypes", "places"}) {
            for (int size : kSizes) {
                const QString dir = QStringLiteral("%1x%1/%2").arg(size).arg(QLatin1String(context));
                directories += (directories.isEmpty() ? "" : ",") + dir;
                sections += QStringLiteral("\n[%1]\nSize=%2\nType=Fixed\n").arg(dir).arg(size);
            }
        }
        const bool ok = QDir().mkpath(binDir()) && QDir().mkpath(dataHome() + "/applications") && QDir().mkpath(themeDir())
                     && write(themeDir() + "/index.theme",
                              "[Icon Theme]\nName=Vanta Test\nDirectories=" + directories.toUtf8() + "\n" + sections.toUtf8(), false);
        // What a desktop's platform theme would set.
        QIcon::setThemeSearchPaths({dataHome() + "/icons"});
        QIcon::setThemeName(QStringLiteral("vantatest"));
        return ok;
    }

    QString root() const { return m_root.path(); }
    QString dataHome() const { return root() + "/data"; }
    QString binDir() const { return root() + "/bin"; }
    QString themeDir() const { return dataHome() + "/icons/vantatest"; }

    void addThemeIcon(const QString& context, const QString& name, const QList<int>& sizes, const QColor& color)
    {
        for (int size : sizes) {
            const QString dir = QStringLiteral("%1/%2x%2/%3").arg(themeDir()).arg(size).arg(context);
            QDir().mkpath(dir);
            QImage image(size, size, QImage::Format_RGB32);
            image.fill(color);
            image.save(dir + "/" + name + ".png");
        }
    }

    // applications/<name>.desktop: an application entry with the given extra lines.
    QString addEntry(const QString& name, const QStringList& lines)
    {
        const QString path = dataHome() + "/applications/" + name + ".desktop";
        write(path, "[Desktop Entry]\nType=Application\nName=" + name.toUtf8() + "\n" + lines.join('\n').toUtf8() + "\n", false);
        return path;
    }

    // A program in the bin folder that writes its arguments, one a line, to `out`.
    QString addRecorder(const QString& name, const QString& out)
    {
        const QString path = binDir() + "/" + name;
        write(path, "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"" + QFile::encodeName(out) + ".part\"\nmv \""
                        + QFile::encodeName(out) + ".part\" \"" + QFile::encodeName(out) + "\"\n", true);
        return path;
    }

    static bool write(const QString& path, const QByteArray& bytes, bool executable)
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            return false;
        file.close();
        return !executable || file.setPermissions(file.permissions() | QFile::ExeOwner);
    }

    // JPEG pictures come back a few steps off.
    static bool near(const QColor& a, const QColor& b)
    {
        return qAbs(a.red() - b.red()) < 24 && qAbs(a.green() - b.green()) < 24 && qAbs(a.blue() - b.blue()) < 24;
    }

    static QStringList lines(const QString& path)
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
    }

private:
    QTemporaryDir m_root;
};
