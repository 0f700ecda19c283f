#pragma once

#include <QPoint>
#include <QString>

// Entry points of the icon editing dialogs. Each call runs its dialog modally once;
// a test reaches the running dialog through QApplication::activeModalWidget().
class IconBuilder
{
public:
    // Opens the icon edit menu 15 px left of and 5 px above the anchor whose
    // mapFromGlobal(QPoint(0, 0)) is `anchor`. Returns 0 local disk, 1 icon builder,
    // -1 dismissed.
    int showIconEditMenu(QPoint anchor);
    // Runs the icon builder on `path`; the saved icon's path, or empty if cancelled.
    QString getOpenFileName(QString path);
};
