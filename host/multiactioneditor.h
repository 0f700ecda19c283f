#pragma once

#include <QIcon>
#include <QJsonArray>
#include <QJsonObject>
#include <QMap>
#include <QPointer>
#include <QWidget>

class MultiAction;
class QLineEdit;
class QPushButton;
class QSpinBox;
class StepList;

// Edits a multi-action key: its title and icon and its list of steps (add an action
// or a delay, remove, reorder, change a delay). It changes nothing itself: each edit
// comes out as the key's whole new entry, for the window to apply as an undoable
// command; the deck then makes the key anew and the editor is shown it again. The
// selected step's inspector is the window's to show (stepSelected).
class MultiActionEditor : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kDefaultDelayMs = 500;

    explicit MultiActionEditor(QWidget* parent = nullptr);
    ~MultiActionEditor() override;

    // The names and icons of the package's actions, by category.
    void setActions(const QMap<QString, QString>& names, const QMap<QString, QIcon>& icons);
    // Shows the key in `slot` (null: none). The same slot again keeps the selected step.
    void showKey(MultiAction* multi, int slot);
    MultiAction* multiAction() const { return m_multi; }
    int currentStep() const { return m_current; }
    void selectStep(int index);
    // The row's text: the action's name and its settings in one line.
    QString stepText(int index) const;

    // The edits; `index` -1 is after the last step.
    void addAction(const QString& category, int index = -1);
    void addDelay(int ms = kDefaultDelayMs, int index = -1);
    void removeStep(int index);
    void moveStep(int from, int to);
    void setDelay(int index, int ms);
    void setTitle(const QString& title);
    void setIcon(const QString& path);

    // A step's settings in one line, without those every action shares.
    static QString summary(const QJsonObject& step);

signals:
    void edited(int slot, const QJsonObject& entry, const QString& text);
    void stepSelected(int index);
    // "Add action": the window knows which action is chosen in its list.
    void addActionRequested(int index);
    // An edit that cannot be made, and why.
    void refused(const QString& why);

private:
    void build();
    void refill();
    void markRunning(int index, bool running);
    void retext();
    void updateControls();
    void chooseIcon();
    QJsonArray steps() const;
    void insertStep(const QJsonValue& step, int index, const QString& text);
    void commit(const QJsonArray& steps, int current, const QString& text);
    void commitEntry(const QJsonObject& entry, const QString& text);
    QString delayName() const;

    QPointer<MultiAction> m_multi;  // owned by the deck
    int m_slot = -1;
    int m_current = 0;
    QMap<QString, QString> m_names;
    QMap<QString, QIcon> m_icons;
    QLineEdit* m_title = nullptr;
    QPushButton* m_noIcon = nullptr;
    StepList* m_list = nullptr;
    QPushButton* m_remove = nullptr;
    QSpinBox* m_delay = nullptr;
    QList<QMetaObject::Connection> m_keyConnections;
};
