#include "kybasehotkeywidget.h"

#include "gifanimation.h"
#include "keyfaceconstants.h"
#include "kydisplayviewattribute.h"
#include "kydisplayviewlabelhandler.h"
#include "tovmixerhelper.h"
#include "ui_kybasehotkeywidget.h"
#include "widgets/base/imagefile.h"
#include "widgets/base/kykitimages.h"
#include "widgets/base/widgetslog.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QPixmapCache>
#include <QStyleOption>

namespace {

// The size at which a GIF of `source` size plays inside the face, aspect ratio kept.
// An unreadable GIF (0 x 0) keeps the whole face.
QSize gifTargetSize(const QSize& source)
{
    QSize target(KyKeyFace::kWidth, KyKeyFace::kHeight);
    const int w = source.width();
    const int h = source.height();
    if (w <= 0 || h <= 0)
        return target;
    const float ratio = float(w) / float(h);
    if (ratio > KyKeyFace::kAspectRatio)
        target.setHeight(int(qint64(h) * KyKeyFace::kWidth / w));
    else if (ratio < KyKeyFace::kAspectRatio)
        target.setWidth(int(qint64(w) * KyKeyFace::kHeight / h));
    return target;
}

const char* const kDeferredStyle = "deferredStyleSheet";

void showMask(QLabel* mask)
{
    const QVariant style = mask->property(kDeferredStyle);
    if (style.isValid()) {
        mask->setStyleSheet(style.toString());
        mask->setProperty(kDeferredStyle, QVariant());
    }
    mask->show();
}

} // namespace

KyBaseHotkeyWidget::KyBaseHotkeyWidget(QWidget* parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::KyBaseHotkeyWidget>())
    , m_gif(new GifAnimation(this))
{
    ui->setupUi(this);
    // Frames are drawn by the face itself: the styled label would cost more per frame.
    connect(m_gif, &GifAnimation::frameChanged, this, [this] { update(ui->lblIcon->geometry()); });
    KyKitImages::reportMissing("KyBaseHotkeyWidget", KyKeyFace::kMaskImages);

    // A mask's picture is loaded when the mask is first shown: most faces never show one,
    // and loading them for every face would cost more than the rest of the face.
    for (QLabel* mask : {ui->lblMaskClick, ui->lblMaskInvalid, ui->lblMaskInactive}) {
        mask->hide();
        mask->setProperty(kDeferredStyle, mask->styleSheet());
        mask->setStyleSheet(QString());
    }
    setIconTitle(QString::fromLatin1(KyKeyFace::kDefaultTitle));
    ui->lblIcon->setScaledContents(true);
}

KyBaseHotkeyWidget::~KyBaseHotkeyWidget() = default;

void KyBaseHotkeyWidget::setIconAsset(const QString& path)
{
    stopGif();
    if (QFileInfo(path).suffix() == QLatin1String(KyKeyFace::kGifSuffix))
        showGif(path);
    else
        showStill(path);
    const QString iconStyle = QString::fromLatin1(KyKeyFace::kIconStyle);
    if (ui->lblIcon->styleSheet() != iconStyle)  // setting it again would restyle the label
        ui->lblIcon->setStyleSheet(iconStyle);
}

void KyBaseHotkeyWidget::showGif(const QString& path)
{
    QString why;
    QByteArray bytes = ImageFile::read(path, &why);
    if (!why.isEmpty()) {
        qCWarning(lcWidgets) << "[KyBaseHotkeyWidget][setIconAsset] unreadable image" << path << why;
        showStill(QString());  // the bare face, not the previous icon
        return;
    }
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    QSize size = reader.size();
    why = ImageFile::sizeRefusal(reader);
    // Every frame is decoded onto the whole canvas, which the first frame shows.
    const QSize canvas = why.isEmpty() ? reader.read().size() : size;
    if (!size.isValid())
        size = canvas;  // the header did not tell
    const bool tooLarge = qint64(canvas.width()) * canvas.height() > KyKeyFace::kMaxGifPixels;
    if (size.isEmpty() || tooLarge) {
        qCWarning(lcWidgets) << "[KyBaseHotkeyWidget][setIconAsset] unreadable GIF" << path
                             << (tooLarge ? QStringLiteral("canvas of %1 x %2 pixels").arg(canvas.width()).arg(canvas.height())
                                          : reader.errorString());
        // The label would keep showing the previous animation's last frame.
        ui->lblIcon->clear();
        return;
    }
    buffer.close();

    ui->lblIcon->setScaledContents(false);
    QString error;
    if (!m_gif->open(bytes, gifTargetSize(size), &error)) {
        qCWarning(lcWidgets) << "[KyBaseHotkeyWidget][setIconAsset] unreadable GIF" << path << error;
        ui->lblIcon->clear();
        return;
    }
    m_gifShown = true;
    ui->lblIcon->clear();
    ui->lblIcon->hide();
    update();
    if (isVisible())
        m_gif->start();
}

void KyBaseHotkeyWidget::stopGif()
{
    if (!m_gifShown)
        return;
    m_gifShown = false;
    m_gif->stop();
    ui->lblIcon->show();
    update();
}

void KyBaseHotkeyWidget::showStill(const QString& path)
{
    // Many keys share a picture (every new key starts on its action's icon), so a
    // fitted picture is kept until its file changes.
    const QSize area = ui->lblIcon->size();
    const QFileInfo file(path);
    const QString key = QStringLiteral("KyBaseHotkeyWidget:%1:%2x%3:%4:%5")
                            .arg(file.absoluteFilePath())
                            .arg(area.width())
                            .arg(area.height())
                            .arg(path.startsWith(QLatin1Char(':')) ? 0 : file.lastModified().toMSecsSinceEpoch())
                            .arg(file.size());
    QPixmap fitted;
    if (path.isEmpty() || !QPixmapCache::find(key, &fitted)) {
        QString why;
        const QImage image = path.isEmpty() ? QImage() : ImageFile::load(path, area, &why);
        if (image.isNull() && !path.isEmpty())
            qCWarning(lcWidgets) << "[KyBaseHotkeyWidget][setIconAsset] unreadable image" << path << why;
        fitted = QPixmap::fromImage(processHotkeyIcon(image, area));
        if (!image.isNull())
            QPixmapCache::insert(key, fitted);
    }
    ui->lblIcon->setPixmap(fitted);
    ui->lblIcon->setScaledContents(true);
}

void KyBaseHotkeyWidget::setIconPixmap(const QPixmap& pixmap)
{
    stopGif();
    ui->lblIcon->setPixmap(pixmap);
}

void KyBaseHotkeyWidget::setDownImage(const QPixmap& pixmap)
{
    stopGif();
    ui->lblIcon->setScaledContents(false);
    ui->lblIcon->setPixmap(pixmap);
}

void KyBaseHotkeyWidget::setIconTitle(const QString& title)
{
    m_title = title;
    if (title.size() > KyKeyFace::kMaxTitleChars)
        qCWarning(lcWidgets).nospace() << "[KyBaseHotkeyWidget][setIconTitle] a title of " << title.size()
                                       << " characters shows its first " << KyKeyFace::kMaxTitleChars;
    showTitle();
}

// A line wider than the key ends in an ellipsis instead of being clipped at both sides.
void KyBaseHotkeyWidget::showTitle()
{
    constexpr int kTitleMargin = 8;
    ui->lblTitle->ensurePolished();
    const QFontMetrics metrics(ui->lblTitle->font());
    // Laying out a long text costs in proportion to it; a key shows a few words.
    QStringList lines = m_title.left(KyKeyFace::kMaxTitleChars).split(QLatin1Char('\n'));
    for (QString& line : lines)
        line = metrics.elidedText(line, Qt::ElideRight, ui->lblTitle->width() - kTitleMargin);
    ui->lblTitle->setText(lines.join(QLatin1Char('\n')));
}

void KyBaseHotkeyWidget::keyDown()
{
    showMask(ui->lblMaskClick);
}

void KyBaseHotkeyWidget::keyUp()
{
    ui->lblMaskClick->hide();
}

void KyBaseHotkeyWidget::showInvalid()
{
    showMask(ui->lblMaskInvalid);
}

void KyBaseHotkeyWidget::hideInvalid()
{
    ui->lblMaskInvalid->hide();
}

void KyBaseHotkeyWidget::showInactive()
{
    showMask(ui->lblMaskInactive);
}

void KyBaseHotkeyWidget::hideInactive()
{
    ui->lblMaskInactive->hide();
}

void KyBaseHotkeyWidget::showText()
{
    ui->lblTitle->show();
}

void KyBaseHotkeyWidget::hideText()
{
    ui->lblTitle->hide();
}

void KyBaseHotkeyWidget::adjustView(const KyDisplayViewAttribute& attribute)
{
    KyDisplayViewLabelHandler::modifyIconWidgetLabel(ui->lblTitle, KyKeyFace::kHeight, attribute);
    showTitle();  // the font may have changed
}

// A QWidget subclass draws its style-sheet background only in its own paint event.
// The rounded frame costs more than the rest of the face together, and faces are
// rendered for every key on every change, so it is drawn once and reused.
void KyBaseHotkeyWidget::paintEvent(QPaintEvent* event)
{
    Q_UNUSED(event);
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = (QSizeF(size()) * ratio).toSize();
    if (m_background.size() != pixels || m_background.devicePixelRatio() != ratio) {
        m_background = QPixmap(pixels);
        m_background.setDevicePixelRatio(ratio);
        m_background.fill(Qt::transparent);
        QPainter cache(&m_background);
        QStyleOption option;
        option.initFrom(this);
        style()->drawPrimitive(QStyle::PE_Widget, &option, &cache, this);
    }
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_background);
    if (m_gifShown) {
        // Centred as the label centres a picture.
        const QPixmap frame = m_gif->currentFrame();
        const QSize size = (QSizeF(frame.size()) / frame.devicePixelRatio()).toSize();
        const QRect label = ui->lblIcon->geometry();
        const QPoint topLeft(label.x() + label.width() / 2 - size.width() / 2,
                             label.y() + label.height() / 2 - size.height() / 2);
        painter.drawPixmap(QRect(topLeft, size), frame);
    }
}

// Only a face on screen animates: a hidden page of keys costs nothing.
void KyBaseHotkeyWidget::showEvent(QShowEvent* event)
{
    if (m_gifShown)
        m_gif->start();
    QWidget::showEvent(event);
}

void KyBaseHotkeyWidget::hideEvent(QHideEvent* event)
{
    m_gif->stop();
    QWidget::hideEvent(event);
}

void KyBaseHotkeyWidget::changeEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::StyleChange:
    case QEvent::PaletteChange:
    case QEvent::EnabledChange:
        m_background = QPixmap();
        break;
    default:
        break;
    }
    QWidget::changeEvent(event);
}

QImage KyBaseHotkeyWidget::processHotkeyIcon(const QImage& image, const QSize& size)
{
    return TovMixerHelper::getProcessPluginIcon(image, size);
}
