#include "keycell.h"

#include <QDragEnterEvent>
#include <QMimeData>
#include <QPainter>

KeyCell::KeyCell(int slot, QWidget* parent)
    : QWidget(parent)
    , m_slot(slot)
{
    setFixedSize(150, 108);
    setAcceptDrops(true);
}

void KeyCell::setFace(QWidget* face)
{
    if (m_face && m_face != face) {
        m_face->hide();
        m_face->setParent(nullptr);  // the action owns its face
    }
    m_face = face;
    if (m_face) {
        m_face->setParent(this);
        m_face->setAttribute(Qt::WA_TransparentForMouseEvents);
        m_face->move(0, 0);
        m_face->show();
    }
    update();
}

void KeyCell::setSelected(bool selected)
{
    m_selected = selected;
    update();
}

void KeyCell::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        emit pressed(m_slot);
}

void KeyCell::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        emit released(m_slot);
}

void KeyCell::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasFormat(kCategoryMime))
        event->acceptProposedAction();
}

void KeyCell::dropEvent(QDropEvent* event)
{
    emit categoryDropped(m_slot, QString::fromUtf8(event->mimeData()->data(kCategoryMime)));
    event->acceptProposedAction();
}

void KeyCell::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor(30, 30, 30));
    if (m_selected) {
        painter.setPen(QPen(QColor(0xFF, 0x99, 0x00), 2));
        painter.drawRect(rect().adjusted(1, 1, -1, -1));
    }
}
