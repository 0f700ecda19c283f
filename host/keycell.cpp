#include "keycell.h"

#include <QApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QMimeData>
#include <QPainter>

namespace {
const QColor kEmptyKey(30, 30, 30);
const QColor kUnloadedKey(70, 28, 28);

bool isPressKey(const QKeyEvent* event)
{
    return event->key() == Qt::Key_Space || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}
} // namespace

KeyCell::KeyCell(int slot, QWidget* parent)
    : QWidget(parent)
    , m_slot(slot)
{
    setFixedSize(150, 108);
    setAcceptDrops(true);
    setFocusPolicy(Qt::StrongFocus);
    m_selectionFrame = new QWidget(this);
    m_selectionFrame->setGeometry(rect());
    m_selectionFrame->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_selectionFrame->setStyleSheet(QStringLiteral("border: 2px solid #FF9900; background: transparent;"));
    m_selectionFrame->setAttribute(Qt::WA_StyledBackground);
    m_selectionFrame->hide();
    m_hold.setSingleShot(true);
    m_hold.setInterval(kHoldMs);
    connect(&m_hold, &QTimer::timeout, this, [this] { setDown(true); });
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

void KeyCell::setProblem(const QString& category, const QString& problem)
{
    m_unloaded = !problem.isEmpty();
    m_unloadedCategory = category;
    setToolTip(problem.isEmpty() ? QString() : tr("This key cannot be loaded: %1").arg(problem));
    update();
}

void KeyCell::setSelected(bool selected)
{
    m_selectionFrame->setVisible(selected);
    m_selectionFrame->raise();
}

void KeyCell::setSnapshot(const QPixmap& snapshot)
{
    m_snapshot = snapshot;
    update();
}

void KeyCell::setPressOnly(bool pressOnly)
{
    m_pressOnly = pressOnly;
    setFocusPolicy(pressOnly ? Qt::NoFocus : Qt::StrongFocus);
    setAcceptDrops(!pressOnly);
}

void KeyCell::setDown(bool down)
{
    if (down == m_down)
        return;
    m_down = down;
    emit down ? pressed(m_slot) : released(m_slot);
}

void KeyCell::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    if (m_pressOnly)
        return setDown(true);
    setFocus(Qt::MouseFocusReason);
    emit selected(m_slot);
    m_buttonDown = true;
    m_pressPos = event->position().toPoint();
    m_hold.start();
}

void KeyCell::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_buttonDown || m_down
        || (event->position().toPoint() - m_pressPos).manhattanLength() < QApplication::startDragDistance())
        return;
    // A drag moves the key; it never presses it.
    m_hold.stop();
    m_buttonDown = false;
    auto* drag = new QDrag(this);
    auto* data = new QMimeData;
    data->setData(kSlotMime, QByteArray::number(m_slot));
    drag->setMimeData(data);
    drag->setPixmap(grab().scaled(75, 54, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    drag->exec(Qt::MoveAction);
}

void KeyCell::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return QWidget::mouseReleaseEvent(event);
    m_hold.stop();
    m_buttonDown = false;
    setDown(false);
}

void KeyCell::keyPressEvent(QKeyEvent* event)
{
    if (!isPressKey(event))
        return QWidget::keyPressEvent(event);
    if (!event->isAutoRepeat())
        setDown(true);
}

void KeyCell::keyReleaseEvent(QKeyEvent* event)
{
    if (!isPressKey(event))
        return QWidget::keyReleaseEvent(event);
    if (!event->isAutoRepeat())
        setDown(false);
}

void KeyCell::focusOutEvent(QFocusEvent* event)
{
    // A key never stays down once the user is elsewhere.
    m_hold.stop();
    m_buttonDown = false;
    setDown(false);
    QWidget::focusOutEvent(event);
}

void KeyCell::contextMenuEvent(QContextMenuEvent* event)
{
    if (m_pressOnly)
        return QWidget::contextMenuEvent(event);
    emit selected(m_slot);
    emit contextMenuRequested(m_slot, event->globalPos());
}

void KeyCell::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasFormat(kCategoryMime) || event->mimeData()->hasFormat(kSlotMime))
        event->acceptProposedAction();
}

void KeyCell::dropEvent(QDropEvent* event)
{
    const QMimeData* data = event->mimeData();
    event->acceptProposedAction();
    if (data->hasFormat(kSlotMime)) {
        bool ok = false;
        const int from = data->data(kSlotMime).toInt(&ok);
        if (ok && from != m_slot)
            emit keyDropped(from, m_slot);
        return;
    }
    emit categoryDropped(m_slot, QString::fromUtf8(data->data(kCategoryMime)));
}

void KeyCell::paintEmpty(QPainter& painter, const QRect& rect, bool unloaded, const QString& category)
{
    if (!unloaded) {
        painter.fillRect(rect, kEmptyKey);
        return;
    }
    painter.fillRect(rect, kUnloadedKey);
    painter.setPen(QColor(230, 200, 200));
    QFont font = painter.font();
    font.setPixelSize(12);
    painter.setFont(font);
    const QString name = category.section(QLatin1Char('.'), -1);
    const QString text = QStringLiteral("cannot load\n%1").arg(name.isEmpty() ? QStringLiteral("?") : name);
    painter.drawText(rect.adjusted(6, 6, -6, -6), Qt::AlignCenter | Qt::TextWordWrap,
                     QFontMetrics(font).elidedText(text, Qt::ElideRight, rect.width() * 2));
}

void KeyCell::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (!m_face && !m_snapshot.isNull()) {
        painter.drawPixmap(rect(), m_snapshot);
        return;
    }
    paintEmpty(painter, rect(), !m_face && m_unloaded, m_unloadedCategory);
}
