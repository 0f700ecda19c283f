#include "categorylist.h"

#include "keycell.h"

#include <QMimeData>

CategoryList::CategoryList(QWidget* parent)
    : QListWidget(parent)
{
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragOnly);
    setIconSize(QSize(45, 32));
}

QMimeData* CategoryList::mimeData(const QList<QListWidgetItem*>& items) const
{
    auto* data = new QMimeData;
    if (!items.isEmpty())
        data->setData(KeyCell::kCategoryMime, items.first()->data(kCategoryRole).toString().toUtf8());
    return data;
}
