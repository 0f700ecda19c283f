#pragma once

// A desktop of the test's own in a temporary folder: XDG_DATA_HOME with an icon theme
// "vantatest" (square icons in one colour per name), application entries, and a bin
// folder in front of PATH for programs that record how they were started.

#include "testfiles.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QIcon>
#include <QImage>
#include <QTemporaryDir>

class TestDesktop
{
public:
    bool setUp()
    {
        qputenv("XDG_DATA_HOME", QFile::encodeName(dataHome()));
        qputenv("PATH", QFile::encodeName(binDir()) + ':' + qgetenv("PATH"));
        QByteArray dirs, sections;
        for (const char* context : {"apps", "mimetypes", "places"}) {
            for (int size : {16, 32, 48, 128, 256, 512}) {
                const QByteArray dir = QByteArray::number(size) + 'x' + QByteArray::number(size) + '/' + context;
                dirs += (dirs.isEmpty() ? "" : ",") + dir;
                sections += "\n[" + dir + "]\nSize=" + QByteArray::number(size) + "\nType=Fixed\n";
            }
        }
        // What a desktop's platform theme would set.
        QIcon::setThemeSearchPaths({dataHome() + "/icons"});
        QIcon::setThemeName(QStringLiteral("vantatest"));
        return m_root.isValid() && QDir().mkpath(binDir()) && QDir().mkpath(dataHome() + "/applications")
            && QDir().mkpath(themeDir()) && TestFiles::write(themeDir() + "/index.theme", "[Icon Theme]\nName=T\nDirectories=" + dirs + "\n" + sections);
    }

    QString root() const { return m_root.path(); }
    QString dataHome() const { return root() + "/data"; }
    QString binDir() const { return root() + "/bin"; }
    QString themeDir() const { return dataHome() + "/icons/vantatest"; }

    void addThemeIcon(const QString& context, const QString& name, const QList<int>& sizes, const QColor& color)
    {
        for (int size : sizes) {
            const QString dir = QStringLiteral("%1/%2x%2/%3").arg(themeDir()).arg(size).arg(context);
            QImage image(size, size, QImage::Format_RGB32);
            image.fill(color);
            QDir().mkpath(dir);
            image.save(dir + "/" + name + ".png");
        }
    }

    // applications/<name>.desktop; `lines` follow the group header.
    QString addEntry(const QString& name, const QStringList& lines)
    {
        const QString path = dataHome() + "/applications/" + name + ".desktop";
        TestFiles::write(path, "[Desktop Entry]\n" + lines.join('\n').toUtf8() + "\n");
        return path;
    }

    // A program in the bin folder that writes its arguments, one a line, to `out`.
    QString addRecorder(const QString& name, const QString& out)
    {
        const QString path = binDir() + "/" + name;
        const QByteArray target = QFile::encodeName(out);
        TestFiles::write(path, "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"" + target + ".part\"\nmv \"" + target + ".part\" \"" + target + "\"\n");
        QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner);
        return path;
    }

    // JPEG pictures come back a few steps off.
    static bool near(const QColor& a, const QColor& b)
    {
        return qAbs(a.red() - b.red()) < 24 && qAbs(a.green() - b.green()) < 24 && qAbs(a.blue() - b.blue()) < 24;
    }

private:
    QTemporaryDir m_root;
};
