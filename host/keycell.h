#pragma once

#include <QPointer>
#include <QWidget>

// One key of the virtual deck: shows the action's key face, takes a category dropped
// on it, and turns mouse presses into key down / app triggered / key up.
class KeyCell : public QWidget
{
    Q_OBJECT
public:
    static constexpr const char* kCategoryMime = "application/x-vanta-category";

    KeyCell(int slot, QWidget* parent = nullptr);

    int slot() const { return m_slot; }
    void setFace(QWidget* face);
    void setSelected(bool selected);

signals:
    void pressed(int slot);
    void released(int slot);
    void categoryDropped(int slot, const QString& category);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    int m_slot;
    QWidget* m_selectionFrame = nullptr;  // above the face, so a selected key shows it
    QPointer<QWidget> m_face;  // owned by its action, which may go first
};
