#include "iconbuilder.h"

#include "iconbuilder/dialogiconbuilder.h"
#include "iconbuilder/dialogiconeditmenu.h"
#include "iconbuilder/iconbuilderconstants.h"
#include "iconbuilder/iconfilechooser.h"
#include "widgets/base/widgetslog.h"

#include <QFileInfo>
#include <QStandardPaths>
#include <QWidget>

int IconBuilder::showIconEditMenu(QPoint anchor)
{
    DialogIconEditMenu menu;
    menu.setGeometry(QRect(QPoint(-anchor.x() - IconBuilderConst::kMenuOffsetX,
                                  -anchor.y() - IconBuilderConst::kMenuOffsetY),
                           menu.size()));
    menu.raise();
    menu.activateWindow();
    return menu.exec();
}

QString IconBuilder::getOpenFileName(QString path)
{
    DialogIconBuilder dialog;
    dialog.setImagePath(path);
    dialog.activateWindow();
    dialog.raise();
    if (dialog.exec() == QDialog::Accepted)
        return dialog.getImagePath();
    return {};
}

QString IconBuilder::editIcon(QWidget* button, const EditRequest& request)
{
    const int choice = showIconEditMenu(button->mapFromGlobal(QPoint(0, 0)));
    if (choice == IconBuilderConst::kMenuDismissed)
        return {};
    if (choice == IconBuilderConst::kMenuIconBuilder) {
        if (request.buildIcon)
            request.buildIcon();
        return {};
    }
    QString folder = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (request.folderChanging)
        request.folderChanging(folder);
    const QString file = IconFileChooser::getOpenFileName(
        button->window(), request.caption, folder, request.filter + QLatin1String(IconBuilderConst::kImageFilterSuffixes));
    if (file.isEmpty())
        return {};
    if (request.folderChanged)
        request.folderChanged(QFileInfo(file).absolutePath());

    const QString imagePath = getOpenFileName(file);
    qCDebug(lcWidgets) << "[IconBuilder][editIcon][imagePath]" << imagePath;
    if (imagePath.isEmpty() || !QFileInfo::exists(imagePath))
        return {};
    return imagePath;
}
