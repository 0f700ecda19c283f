#pragma once

#include <QColor>
#include <QDialog>
#include <QImage>
#include <memory>

namespace Ui {
class HostIconBuilder;
}

// The host's icon builder, which an inspector asks for from its icon menu: a key
// icon of a short text on a coloured ground, stored in the icon folder.
class HostIconBuilder : public QDialog
{
    Q_OBJECT
public:
    explicit HostIconBuilder(QWidget* parent = nullptr);
    ~HostIconBuilder() override;

    void setText(const QString& text);
    void setColors(const QColor& background, const QColor& foreground);
    QImage icon() const;
    // Writes the icon as a new PNG below `configDir`; its path, or empty with `error`.
    QString save(const QString& configDir, QString* error) const;

private:
    void pickColor(QColor* color);
    void updatePreview();

    std::unique_ptr<Ui::HostIconBuilder> ui;
    QColor m_background{0x1E, 0x5A, 0xA0};
    QColor m_foreground{Qt::white};
};
