#pragma once

#include <QPixmap>
#include <QPoint>
#include <QPointer>
#include <QTimer>
#include <QWidget>

class QPainter;

// One key of the virtual deck: shows the action's key face (or a placeholder that
// says why a stored key cannot be loaded), takes a category or another key dropped on
// it. A click selects; holding the button down, or Space / Enter while it has the
// focus, presses the key: key down on the press, key up on the release. In a deck
// that only presses (setPressOnly), a click presses and nothing takes the focus.
class KeyCell : public QWidget
{
    Q_OBJECT
public:
    static constexpr const char* kCategoryMime = "application/x-vanta-category";
    static constexpr const char* kSlotMime = "application/x-vanta-slot";
    static constexpr int kHoldMs = 350;

    KeyCell(int slot, QWidget* parent = nullptr);

    int slot() const { return m_slot; }
    void setFace(QWidget* face);
    // Shown without a face: why the key cannot be loaded; empty for an empty key.
    void setProblem(const QString& category, const QString& problem);
    void setSelected(bool selected);
    // A picture of the face shown while the face itself is in another window.
    void setSnapshot(const QPixmap& snapshot);
    // Click presses; no selection, dragging, dropping or keyboard focus.
    void setPressOnly(bool pressOnly);
    bool isDown() const { return m_down; }
    // Presses or lets go of the key, keeping key down and key up paired.
    void setDown(bool down);

    static void paintEmpty(QPainter& painter, const QRect& rect, bool unloaded, const QString& category);

signals:
    void selected(int slot);
    void pressed(int slot);
    void released(int slot);
    void categoryDropped(int slot, const QString& category);
    void keyDropped(int from, int to);
    void contextMenuRequested(int slot, const QPoint& globalPos);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    int m_slot;
    QWidget* m_selectionFrame = nullptr;  // above the face, so a selected key shows it
    QPointer<QWidget> m_face;  // owned by its action, which may go first
    QPixmap m_snapshot;
    QString m_unloadedCategory;
    bool m_unloaded = false;
    QTimer m_hold;
    QPoint m_pressPos;
    bool m_buttonDown = false;
    bool m_down = false;
    bool m_pressOnly = false;
};
