#pragma once

#include <QListWidget>

// The package's actions, each draggable onto a key as its category identifier.
class CategoryList : public QListWidget
{
    Q_OBJECT
public:
    static constexpr int kCategoryRole = Qt::UserRole;

    explicit CategoryList(QWidget* parent = nullptr);

protected:
    QMimeData* mimeData(const QList<QListWidgetItem*>& items) const override;
};
