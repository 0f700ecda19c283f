#include "iconbuilder.h"

#include "iconbuilder/dialogiconbuilder.h"
#include "iconbuilder/dialogiconeditmenu.h"
#include "iconbuilder/iconbuilderconstants.h"

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
