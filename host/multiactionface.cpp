#include "multiactionface.h"

#include "hostlog.h"
#include "picturefile.h"

#include <QPainter>

namespace {
const QColor kBackground(30, 30, 30);
const QColor kPressed(12, 12, 12);
const QColor kAccent(0xFF, 0x99, 0x00);
const QColor kFault(220, 70, 60);
constexpr int kWidth = 150;
constexpr int kHeight = 108;
constexpr int kTitleHeight = 28;
constexpr int kIconBox = 64;
} // namespace

MultiActionFace::MultiActionFace(QWidget* parent)
    : QWidget(parent)
{
    setFixedSize(kWidth, kHeight);
}

void MultiActionFace::setTitle(const QString& title)
{
    m_title = title;
    update();
}

void MultiActionFace::setIcon(const QString& path)
{
    m_icon = QPixmap();
    if (!path.isEmpty()) {
        QString why;
        // Scaled from a plain format: palette and one-bit pictures come out whole.
        const QImage image = PictureFile::load(path, QSize(kIconBox, kIconBox), &why)
                                 .convertToFormat(QImage::Format_ARGB32_Premultiplied);
        if (image.isNull())
            qCWarning(lcHost) << "multi-action key: no icon from" << path << why;
        else
            m_icon = QPixmap::fromImage(image.scaled(kIconBox, kIconBox, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    }
    update();
}

void MultiActionFace::setStepCount(int count)
{
    m_count = count;
    update();
}

void MultiActionFace::setFaulty(bool faulty)
{
    m_faulty = faulty;
    update();
}

void MultiActionFace::setDown(bool down)
{
    m_down = down;
    update();
}

void MultiActionFace::setProgress(int step)
{
    m_step = step;
    update();
}

// Three stacked cards, the front one with the number of steps: large in the middle of
// a key without an icon, small in its top right corner otherwise.
void MultiActionFace::paintMark(QPainter& painter, const QRectF& front) const
{
    const QColor colour = m_faulty ? kFault : kAccent;
    const qreal shift = front.height() / 4;
    painter.setPen(Qt::NoPen);
    for (int i = 2; i >= 0; --i) {
        painter.setBrush(i == 0 ? colour : colour.darker(140 + 40 * i));
        painter.drawRoundedRect(front.translated(shift * i, -shift * i), 2, 2);
    }
    painter.setPen(Qt::black);
    QFont font = painter.font();
    font.setPixelSize(int(front.height() * 0.75));
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(front, Qt::AlignCenter, m_faulty ? QStringLiteral("!") : QString::number(m_count));
}

void MultiActionFace::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), m_down ? kPressed : kBackground);
    const QRect iconArea(0, 6, kWidth, kHeight - kTitleHeight - 6);
    if (!m_icon.isNull()) {
        const QRect target(QPoint(0, 0), m_icon.size());
        painter.drawPixmap(target.translated(iconArea.center() - target.center()), m_icon);
        paintMark(painter, QRectF(kWidth - 34, 14, 18, 13));
    } else {
        QRectF front(0, 0, 48, 34);
        front.moveCenter(QPointF(iconArea.center()) + QPointF(-6, 8));
        paintMark(painter, front);
    }

    QFont font = painter.font();
    font.setPixelSize(13);
    font.setBold(false);
    painter.setFont(font);
    painter.setPen(Qt::white);
    const QRect titleArea(6, kHeight - kTitleHeight - 4, kWidth - 12, kTitleHeight);
    painter.drawText(titleArea, Qt::AlignHCenter | Qt::AlignVCenter,
                     painter.fontMetrics().elidedText(m_title, Qt::ElideRight, titleArea.width()));

    if (m_step < 0)
        return;
    painter.setPen(QPen(kAccent, 3));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5));
    const int done = m_count > 0 ? (kWidth - 12) * (m_step + 1) / m_count : 0;
    painter.fillRect(QRect(6, kHeight - 8, kWidth - 12, 3), kAccent.darker(250));
    painter.fillRect(QRect(6, kHeight - 8, done, 3), kAccent);
}
