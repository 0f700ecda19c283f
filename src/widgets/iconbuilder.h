#pragma once

#include <QPoint>
#include <QString>
#include <functional>

class QWidget;

// Entry points of the icon editing dialogs. Each call runs its dialog modally once;
// a test reaches the running dialog through QApplication::activeModalWidget().
class IconBuilder
{
public:
    // What an inspector's photo button asks of the host and the user on the way to a
    // new icon; the texts are translated in the inspector's own context.
    struct EditRequest
    {
        QString caption;  // of the file dialog
        QString filter;   // its filter text, before the suffixes
        std::function<void(QString& folder)> folderChanging;
        std::function<void(const QString& folder)> folderChanged;
        std::function<void()> buildIcon;
    };

    // A request answered by the panel's own signals iconFolderChanging, iconFolderChanged
    // and buildIcon.
    template <typename Panel>
    static EditRequest requestFor(Panel* panel, const QString& caption, const QString& filter)
    {
        EditRequest request;
        request.caption = caption;
        request.filter = filter;
        request.folderChanging = [panel](QString& folder) { emit panel->iconFolderChanging(folder); };
        request.folderChanged = [panel](const QString& folder) { emit panel->iconFolderChanged(folder); };
        request.buildIcon = [panel] { emit panel->buildIcon(); };
        return request;
    }

    // Opens the icon edit menu 15 px left of and 5 px above the anchor whose
    // mapFromGlobal(QPoint(0, 0)) is `anchor`. Returns 0 local disk, 1 icon builder,
    // -1 dismissed.
    int showIconEditMenu(QPoint anchor);
    // Runs the icon builder on `path`; the saved icon's path, or empty if cancelled.
    QString getOpenFileName(QString path);
    // The photo button's whole edit: the menu at `button`, then either the host's icon
    // builder or a picture file from the pictures folder fitted by the icon builder.
    // The saved icon's path when it exists, else empty.
    QString editIcon(QWidget* button, const EditRequest& request);
};
