#include "tovdragdropstatic.h"

#include "fileiconpicture.h"
#include "iconbuilderlog.h"
#include "platform/launch/systemfileicon.h"
#include "widgets/base/imagefile.h"

#include <QFile>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QFileSystemModel>

namespace {
// A picture file an application entry names, read by the package's rules; large enough
// for the picture size FileIconPicture chooses.
QImage entryPicture(const QString& path)
{
    QString why;
    const QImage image = ImageFile::load(path, QSize(256, 256), &why);
    if (image.isNull())
        qCWarning(lcIconBuilder) << "[TovDragDropStatic] no icon from" << path << why;
    return image;
}
} // namespace

QString TovDragDropStatic::saveFilenameIcon(const QString& path)
{
    const QPixmap picture = FileIconPicture::render(SystemFileIcon::of(path, QFileIconProvider(), entryPicture));
    if (picture.isNull()) {
        qCDebug(lcIconBuilder) << "[TovDragDropStatic][saveFilenameIcon] no icon for" << path;
        return {};
    }
    return FileIconPicture::saveNew(picture.toImage(), FileIconPicture::baseName(path));
}

void TovDragDropStatic::getShortcutPixmap(const QString& path, QPixmap& pixmap, QFileSystemModel* model)
{
    QIcon icon;
    if (model && model->iconProvider()) {
        model->setRootPath(QFileInfo(path).path());
        icon = SystemFileIcon::of(path, *model->iconProvider(), entryPicture);
    } else {
        icon = SystemFileIcon::of(path, QFileIconProvider(), entryPicture);
    }
    const QPixmap picture = FileIconPicture::render(icon);
    if (!picture.isNull())
        pixmap = picture;
}

void TovDragDropStatic::removePictureFile(QString path)
{
    if (!FileIconPicture::isRemovable(path)) {
        if (!path.isEmpty())
            qCDebug(lcIconBuilder) << "[TovDragDropStatic][removePictureFile] kept" << path;
        return;
    }
    if (!QFile::remove(path))
        qCWarning(lcIconBuilder) << "[TovDragDropStatic][removePictureFile] cannot delete" << path;
}
