#include "steplist.h"

#include "keycell.h"

#include <QDropEvent>
#include <QMimeData>

StepList::StepList(QWidget* parent)
    : QListWidget(parent)
{
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::MoveAction);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    setWordWrap(false);
    setTextElideMode(Qt::ElideRight);
    setIconSize(QSize(30, 21));  // the action list's menu icons, smaller
}

QStringList StepList::mimeTypes() const
{
    return {QString::fromLatin1(KeyCell::kCategoryMime), QString::fromLatin1(kStepMime)};
}

QMimeData* StepList::mimeData(const QList<QListWidgetItem*>& items) const
{
    auto* data = new QMimeData;
    if (!items.isEmpty())
        data->setData(kStepMime, QByteArray::number(row(items.first())));
    return data;
}

Qt::DropActions StepList::supportedDropActions() const
{
    return Qt::CopyAction | Qt::MoveAction;
}

int StepList::gapAt(const QPoint& pos) const
{
    const QModelIndex index = indexAt(pos);
    if (!index.isValid())
        return count();
    return pos.y() < visualRect(index).center().y() ? index.row() : index.row() + 1;
}

void StepList::dropEvent(QDropEvent* event)
{
    const QMimeData* data = event->mimeData();
    const int gap = gapAt(event->position().toPoint());
    if (data->hasFormat(kStepMime)) {
        bool ok = false;
        const int from = data->data(kStepMime).toInt(&ok);
        if (!ok || from < 0 || from >= count())
            return event->ignore();
        // Once the step is taken out, the rows below its gap move up by one.
        const int to = gap > from ? gap - 1 : gap;
        if (to != from)
            QMetaObject::invokeMethod(this, [this, from, to] { emit stepDropped(from, to); }, Qt::QueuedConnection);
    } else if (data->hasFormat(KeyCell::kCategoryMime)) {
        const QString category = QString::fromUtf8(data->data(KeyCell::kCategoryMime));
        QMetaObject::invokeMethod(this, [this, gap, category] { emit categoryDropped(gap, category); }, Qt::QueuedConnection);
    } else {
        return event->ignore();
    }
    // A copy as far as the drag knows: the view never takes the dragged row out itself.
    event->setDropAction(Qt::CopyAction);
    event->accept();
    stopAutoScroll();
    setState(NoState);
    viewport()->update();
}
