#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QVector>

class HostSession;
class KeyCell;
class QGridLayout;
class QListWidget;
class QListWidgetItem;
class QWidget;

// The interactive host: the package's actions on the left, the deck, and the
// selected key's inspector below it.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit MainWindow(HostSession& session, QWidget* parent = nullptr);
    ~MainWindow() override;

private:
    QGridLayout* buildDeck(QWidget* central);
    void buildCategoryList();
    void assign(int slot, const QString& category);
    void refresh(int slot);
    void select(int slot);
    void detachInspector();

    HostSession& m_session;
    QListWidget* m_categories = nullptr;
    QVector<KeyCell*> m_cells;
    QWidget* m_inspectorArea = nullptr;
    QPointer<QWidget> m_inspector;  // owned by its action
    int m_selected = -1;
};
