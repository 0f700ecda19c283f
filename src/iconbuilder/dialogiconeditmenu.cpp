#include "dialogiconeditmenu.h"

#include "iconbuilderconstants.h"
#include "ui_dialogiconeditmenu.h"

#include <QEvent>

DialogIconEditMenu::DialogIconEditMenu(QWidget* parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::DialogIconEditMenu>())
{
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setWindowTitle(QStringLiteral("Icon Builder"));
    installEventFilter(this);
    ui->btnLocalDisk->installEventFilter(this);
    ui->btnIconBuilder->installEventFilter(this);
}

DialogIconEditMenu::~DialogIconEditMenu()
{
    // Hiding during destruction may still deliver a Leave; the form is gone by then.
    removeEventFilter(this);
    ui->btnLocalDisk->removeEventFilter(this);
    ui->btnIconBuilder->removeEventFilter(this);
}

bool DialogIconEditMenu::eventFilter(QObject* object, QEvent* event)
{
    // Leaving a button only moves to the other one; leaving the menu dismisses it.
    if (event->type() == QEvent::Leave && object != ui->btnLocalDisk && object != ui->btnIconBuilder)
        done(IconBuilderConst::kMenuDismissed);
    return QDialog::eventFilter(object, event);
}

void DialogIconEditMenu::on_btnLocalDisk_clicked()
{
    done(IconBuilderConst::kMenuLocalDisk);
}

void DialogIconEditMenu::on_btnIconBuilder_clicked()
{
    done(IconBuilderConst::kMenuIconBuilder);
}
