#pragma once

#include <QImage>
#include <QPixmap>
#include <QString>
#include <QWidget>
#include <memory>

class KyDisplayViewAttribute;
class GifAnimation;

namespace Ui {
class KyBaseHotkeyWidget;
}

// The 150 x 108 key face shared by every action: icon (a still fitted to the face or
// an animated GIF), title along the lower edge, and the click, invalid and inactive
// masks on top. Owns its form and the animation that plays GIF icons.
class KyBaseHotkeyWidget : public QWidget
{
    Q_OBJECT
public:
    explicit KyBaseHotkeyWidget(QWidget* parent = nullptr);
    ~KyBaseHotkeyWidget() override;

    void setIconAsset(const QString& path);
    void setIconPixmap(const QPixmap& pixmap);
    void setDownImage(const QPixmap& pixmap);
    void setIconTitle(const QString& title);

    void keyDown();
    void keyUp();
    void showInvalid();
    void hideInvalid();
    void showInactive();
    void hideInactive();
    void showText();
    void hideText();

    void adjustView(const KyDisplayViewAttribute& attribute);

    static QImage processHotkeyIcon(const QImage& image, const QSize& size);

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void showGif(const QString& path);
    void showStill(const QString& path);
    void showTitle();
    void stopGif();

    std::unique_ptr<Ui::KyBaseHotkeyWidget> ui;
    GifAnimation* m_gif = nullptr;  // child; plays while the face is visible
    bool m_gifShown = false;        // the icon is an animated GIF
    QString m_title;                  // as set; the label shows it elided
    QPixmap m_background;             // the style sheet's fill and frame, drawn once per size and style
};
