#include "hosticonbuilder.h"

#include "deck.h"
#include "ui_hosticonbuilder.h"

#include <QColorDialog>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QPushButton>

HostIconBuilder::HostIconBuilder(QWidget* parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::HostIconBuilder>())
{
    ui->setupUi(this);
    connect(ui->editText, &QLineEdit::textChanged, this, &HostIconBuilder::updatePreview);
    connect(ui->btnBackground, &QPushButton::clicked, this, [this] { pickColor(&m_background); });
    connect(ui->btnForeground, &QPushButton::clicked, this, [this] { pickColor(&m_foreground); });
    connect(ui->buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(ui->buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    updatePreview();
}

HostIconBuilder::~HostIconBuilder() = default;

void HostIconBuilder::setText(const QString& text)
{
    ui->editText->setText(text);
}

void HostIconBuilder::setColors(const QColor& background, const QColor& foreground)
{
    m_background = background;
    m_foreground = foreground;
    updatePreview();
}

void HostIconBuilder::pickColor(QColor* color)
{
    const QColor chosen = QColorDialog::getColor(*color, this);
    if (chosen.isValid()) {
        *color = chosen;
        updatePreview();
    }
}

QImage HostIconBuilder::icon() const
{
    QImage image(Deck::kKeyWidth, Deck::kKeyHeight, QImage::Format_ARGB32);
    image.fill(m_background);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing);
    QFont font = painter.font();
    font.setBold(true);
    const QString text = ui->editText->text();
    // The largest size at which the text fits the key with a margin.
    for (int size = 64; size >= 8; size -= 2) {
        font.setPixelSize(size);
        if (QFontMetrics(font).horizontalAdvance(text) <= Deck::kKeyWidth - 16)
            break;
    }
    painter.setFont(font);
    painter.setPen(m_foreground);
    painter.drawText(image.rect(), Qt::AlignCenter, text);
    return image;
}

QString HostIconBuilder::save(const QString& configDir, QString* error) const
{
    const QDir folder(QDir(configDir).filePath(QStringLiteral("icon")));
    if (!QDir().mkpath(folder.path())) {
        *error = tr("cannot make the icon folder %1").arg(folder.path());
        return {};
    }
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMddhhmmss"));
    QString path = folder.filePath(QStringLiteral("built-%1.png").arg(stamp));
    for (int n = 1; QFileInfo(path).exists(); ++n)
        path = folder.filePath(QStringLiteral("built-%1-%2.png").arg(stamp).arg(n));
    if (!icon().save(path, "PNG")) {
        *error = tr("cannot write %1").arg(path);
        return {};
    }
    return path;
}

void HostIconBuilder::updatePreview()
{
    ui->btnBackground->setText(m_background.name());
    ui->btnForeground->setText(m_foreground.name());
    ui->lblPreview->setPixmap(QPixmap::fromImage(icon()));
}
