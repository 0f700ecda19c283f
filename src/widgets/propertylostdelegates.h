#pragma once

#include <QString>
#include <QWidget>

// Base of the inspectors that edit icons: the three requests an inspector makes to
// the host about icon files. The package only emits them; the host answers.
class PropertyLostDelegates : public QWidget
{
    Q_OBJECT
public:
    explicit PropertyLostDelegates(QWidget* parent = nullptr);

signals:
    // Just before an icon file dialog opens. `folder` holds the pictures location; a
    // receiver connected directly may replace it with the folder to open.
    void iconFolderChanging(QString& folder);
    // The user picked a file in this folder (absolute path).
    void iconFolderChanged(const QString& folder);
    // The user chose the host's icon builder.
    void buildIcon();
};
