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
    m_selectionFrame = new QWidget(this);
    m_selectionFrame->setGeometry(rect());
    m_selectionFrame->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_selectionFrame->setStyleSheet(QStringLiteral("border: 2px solid #FF9900; background: transparent;"));
    m_selectionFrame->setAttribute(Qt::WA_StyledBackground);
    m_selectionFrame->hide();
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
    m_selectionFrame->raise();
    update();
}

void KeyCell::setSelected(bool selected)
{
    m_selectionFrame->setVisible(selected);
    m_selectionFrame->raise();
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
}
