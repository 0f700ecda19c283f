#pragma once

#include <QString>
#include <functional>

class QWidget;

// The one place where the icon editors ask the user for a picture file. A test (or a
// host without native dialogs) installs a hook that answers instead of QFileDialog.
class IconFileChooser
{
public:
    using Hook = std::function<QString(QWidget* parent, const QString& caption, const QString& folder,
                                       const QString& filter)>;

    // An empty hook restores the Qt file dialog (never the native one).
    static void setHook(Hook hook);
    static QString getOpenFileName(QWidget* parent, const QString& caption, const QString& folder,
                                   const QString& filter);

private:
    static Hook& hook();
};
