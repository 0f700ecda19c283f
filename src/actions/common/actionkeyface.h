#pragma once

#include <QWidget>

class KyBaseHotkeyWidget;
class KyDisplayViewAttribute;

// Base of the actions' key faces: a 150 x 108 widget whose form holds one
// KyBaseHotkeyWidget, to which everything is forwarded.
class ActionKeyFace : public QWidget
{
    Q_OBJECT
public:
    void setTitle(const QString& title);
    void setImage(const QString& path);
    void setDownImage(const QPixmap& pixmap);
    void adjustView(const KyDisplayViewAttribute& attribute);
    void showKeyUp();
    void showKeyDown();

    // The pressed look: the face without its title, scaled to the pressed size.
    void showPressed(const QString& title);

protected:
    explicit ActionKeyFace(QWidget* parent = nullptr);
    // Called by the subclass once its form is built.
    void setBase(KyBaseHotkeyWidget* base) { m_base = base; }

private:
    KyBaseHotkeyWidget* m_base = nullptr;
};
