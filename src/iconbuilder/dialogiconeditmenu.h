#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class DialogIconEditMenu;
}

// Small frameless menu offering the two ways to a new icon. exec() returns 0 for the
// local disk, 1 for the host's icon builder and -1 once the pointer leaves the menu.
class DialogIconEditMenu : public QDialog
{
    Q_OBJECT
public:
    explicit DialogIconEditMenu(QWidget* parent = nullptr);
    ~DialogIconEditMenu() override;

    bool eventFilter(QObject* object, QEvent* event) override;

private slots:
    void on_btnLocalDisk_clicked();
    void on_btnIconBuilder_clicked();

private:
    std::unique_ptr<Ui::DialogIconEditMenu> ui;
};
