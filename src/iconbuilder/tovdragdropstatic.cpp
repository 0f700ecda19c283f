#include "tovdragdropstatic.h"

#include "fileiconpicture.h"
#include "iconbuilderlog.h"
#include "platform/launch/systemfileicon.h"

#include <QFile>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QFileSystemModel>

QString TovDragDropStatic::saveFilenameIcon(const QString& path)
{
    const QPixmap picture = FileIconPicture::render(SystemFileIcon::of(path, QFileIconProvider()));
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
        icon = SystemFileIcon::of(path, *model->iconProvider());
    } else {
        icon = SystemFileIcon::of(path, QFileIconProvider());
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
