#include "iconpicker.h"

#include "picturefile.h"

#include <QAbstractButton>
#include <QApplication>
#include <QBuffer>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QImageReader>
#include <QPointer>
#include <QTimer>

namespace {
// The icon buttons of the package's inspectors: the kit's icon state widget, and the
// inspectors that draw their own icon preview.
const char* const kIconButtons[] = {"btnSelect", "btnPluginImageEdit"};
constexpr int kDialogTimeoutMs = 10000;

QAbstractButton* iconButton(QWidget* inspector)
{
    for (const char* name : kIconButtons) {
        if (auto* button = inspector->findChild<QAbstractButton*>(QLatin1String(name)))
            return button;
    }
    return nullptr;
}
} // namespace

bool IconPicker::isPicture(const QString& path, QString* error)
{
    QString why;
    const QByteArray bytes = PictureFile::read(path, &why);
    if (why.isEmpty()) {
        QBuffer buffer;
        buffer.setData(bytes);
        buffer.open(QIODevice::ReadOnly);
        if (!QImageReader(&buffer).canRead())
            why = QStringLiteral("not a picture that can be read");
    }
    if (why.isEmpty())
        return true;
    *error = QStringLiteral("cannot use %1 as an icon: %2").arg(path, why);
    return false;
}

bool IconPicker::pick(QWidget* inspector, const QString& path, QString* error)
{
    if (!isPicture(path, error))
        return false;
    QAbstractButton* button = inspector ? iconButton(inspector) : nullptr;
    if (!button) {
        *error = QStringLiteral("the key's inspector has no icon button");
        return false;
    }
    const QString absolute = QFileInfo(path).absoluteFilePath();
    enum Stage { Menu, File, Builder, Done } stage = Menu;
    QTimer driver;
    QElapsedTimer clock;
    clock.start();
    QObject::connect(&driver, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (clock.hasExpired(kDialogTimeoutMs)) {
            driver.stop();
            if (modal)
                modal->close();
            return;
        }
        if (!modal || !modal->isVisible())
            return;
        if (auto* files = qobject_cast<QFileDialog*>(modal)) {
            stage = Builder;
            files->selectFile(absolute);
            QMetaObject::invokeMethod(files, "accept");
        } else if (auto* local = modal->findChild<QAbstractButton*>(QStringLiteral("btnLocalDisk"))) {
            stage = File;
            local->click();
        } else if (auto* ok = modal->findChild<QAbstractButton*>(QStringLiteral("btnOk"));
                   ok && ok->isEnabled() && stage == Builder) {
            stage = Done;
            ok->click();
        }
    });
    driver.start(5);
    button->click();  // returns once the last dialog has closed
    driver.stop();
    if (stage != Done) {
        *error = QStringLiteral("the icon dialogs did not run to the end");
        return false;
    }
    return true;
}
