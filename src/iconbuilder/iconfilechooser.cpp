#include "iconfilechooser.h"

#include <QFileDialog>

IconFileChooser::Hook& IconFileChooser::hook()
{
    static Hook installed;
    return installed;
}

void IconFileChooser::setHook(Hook hook)
{
    IconFileChooser::hook() = std::move(hook);
}

QString IconFileChooser::getOpenFileName(QWidget* parent, const QString& caption, const QString& folder,
                                         const QString& filter)
{
    if (const Hook& installed = hook())
        return installed(parent, caption, folder, filter);
    return QFileDialog::getOpenFileName(parent, caption, folder, filter, nullptr,
                                        QFileDialog::DontUseNativeDialog);
}
