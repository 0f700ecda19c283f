#include "actionkeyface.h"

#include "widgets/iconviewgrabber.h"
#include "widgets/keyfaceconstants.h"
#include "widgets/kybasehotkeywidget.h"

ActionKeyFace::ActionKeyFace(QWidget* parent)
    : QWidget(parent)
{
}

void ActionKeyFace::setTitle(const QString& title) { m_base->setIconTitle(title); }
void ActionKeyFace::setImage(const QString& path) { m_base->setIconAsset(path); }
void ActionKeyFace::setDownImage(const QPixmap& pixmap) { m_base->setDownImage(pixmap); }
void ActionKeyFace::adjustView(const KyDisplayViewAttribute& attribute) { m_base->adjustView(attribute); }
void ActionKeyFace::showKeyUp() { m_base->keyUp(); }
void ActionKeyFace::showKeyDown() { m_base->keyDown(); }

void ActionKeyFace::showPressed(const QString& title)
{
    setTitle(QString());
    const QPixmap view = IconViewGrabber::getCurrentView(this);
    setTitle(title);
    setDownImage(view.scaled(QSize(KyKeyFace::kDownWidth, KyKeyFace::kDownHeight), Qt::IgnoreAspectRatio, Qt::FastTransformation));
    showKeyDown();
}
