#pragma once

#include <QListWidget>

// The steps of a multi-action key, one row each. Takes an action dragged from the
// action list (inserted where it is dropped) and moves a step dragged within itself.
// It changes no row itself: it says what was asked for, and the owner rebuilds it.
class StepList : public QListWidget
{
    Q_OBJECT
public:
    static constexpr const char* kStepMime = "application/x-vanta-step";

    explicit StepList(QWidget* parent = nullptr);

    // The gap a drop at `pos` (viewport coordinates) goes into: 0 above the first row,
    // count() below the last.
    int gapAt(const QPoint& pos) const;

signals:
    // Both come after the drop has ended (queued), never while the drag runs.
    void categoryDropped(int row, const QString& category);
    // The step in `from` is to end up in row `to`.
    void stepDropped(int from, int to);

protected:
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QList<QListWidgetItem*>& items) const override;
    Qt::DropActions supportedDropActions() const override;
    void dropEvent(QDropEvent* event) override;
};
