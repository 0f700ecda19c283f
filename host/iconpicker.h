#pragma once

#include <QString>

class QWidget;

// Gives a key a new icon from a picture file the way a user does: the inspector's icon
// button, "local disk" in the icon edit menu, the file in the file dialog and OK in
// the package's icon builder, which fits the picture to the key and stores it in the
// icon folder. The dialogs run modally; this answers each one as it appears.
class IconPicker
{
public:

    // False, with why, when the file is no picture, the inspector has no icon button,
    // or a dialog did not come.
    static bool pick(QWidget* inspector, const QString& path, QString* error);
    // A regular file below the size cap that Qt can decode (PictureFile's rules).
    static bool isPicture(const QString& path, QString* error);
};
