#include "iconviewgrabber.h"

#include "widgets/base/widgetslog.h"

#include <QImage>
#include <QPainter>
#include <QWidget>

QPixmap IconViewGrabber::getCurrentView(QWidget* widget)
{
    if (!widget || widget->size().isEmpty()) {
        qCWarning(lcWidgets) << "[IconViewGrabber][getCurrentView] nothing to grab:" << widget;
        return QPixmap();
    }
    QImage image(widget->size(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    widget->render(&painter, QPoint(0, 0), QRegion(), QWidget::DrawChildren);
    painter.end();
    return QPixmap::fromImage(image);
}
