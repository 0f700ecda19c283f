#pragma once

#include <QList>
#include <QRect>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>

class KyDisplayViewAttribute;
class KyStateButtons;
class GifAnimation;
class QPushButton;

namespace Ui {
class IconStateWidget;
}

// Left-hand icon panel of an inspector: previews the key's icon and title, replaces
// the icon through the icon edit menu, the file chooser and the icon builder, and
// offers one small button per key state. Owns its form, its preview movie and the
// state buttons.
class IconStateWidget : public QWidget
{
    Q_OBJECT
public:
    explicit IconStateWidget(QWidget* parent = nullptr);
    ~IconStateWidget() override;

    void setIconChangeable(bool changeable);
    void hideButtons();
    void hideImageText();
    void showImageText();
    void hideTextEditButton();
    void showTextEditButton();
    void setIconGeometry(const QRect& geometry);
    void setCurrentTitle(const QString& title);
    // Shows the file in the preview; a missing file is logged and the preview kept.
    void updateCurrentIcon(const QString& path);
    void clickButton(int id);
    // One checkable state button per name (the name is its tool tip); none at all
    // when they do not fit the panel. Buttons of an earlier call are deleted.
    void generateButtonsByStateNames(const QList<QString>& names, bool fromLeft);
    void setButtonTooltip(int id, const QString& tooltip);
    int totalButtonNum() const;
    void adjustView(const KyDisplayViewAttribute& attribute);
    // Calls `init` once with the text-settings button, to attach its pop-up.
    void initPushButtonMenu(const std::function<void(QPushButton*)>& init);

signals:
    void iconPathChanged(int index, const QString& path);
    void iconIndexChanged(int index);
    void iconFolderChanging(QString& folder);
    void iconFolderChanged(const QString& folder);
    void buildIcon();

public slots:
    void onSelectIconFile();

private:
    QSize gifTargetSize(const QByteArray& gif) const;

    std::unique_ptr<Ui::IconStateWidget> ui;
    GifAnimation* m_gif = nullptr;  // child
    KyStateButtons* m_stateButtons = nullptr;
};
