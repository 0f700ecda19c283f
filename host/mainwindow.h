#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QUndoStack>
#include <QVector>

class DeckWindow;
class FocusKeeper;
class HostSession;
class KeyCell;
class MultiActionEditor;
class PressGate;
class QAction;
class QGridLayout;
class QJsonObject;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QMenu;
class QScrollArea;
class QWidget;
class UrlCatcher;

// The interactive host: the package's actions on the left, the deck with its pages,
// and the selected key's inspector below it. Key edits (assign, remove, move, swap,
// paste) are undoable; the profile is stored after every change.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    static constexpr const char* kKeyMime = "application/x-vanta-key";

    explicit MainWindow(HostSession& session, QWidget* parent = nullptr);
    ~MainWindow() override;

    // A banner above the deck naming what went wrong with the profile; hidden if empty.
    void showProblems(const QStringList& problems);
    void showStatus(const QString& message);
    // Says in the status bar what each URL the package opens did (or, without
    // launching, would have done).
    void watchUrls(UrlCatcher& urls, bool launch);

    int selectedSlot() const { return m_selected; }
    // Where every press of the window goes through (the focus goes back first).
    PressGate& pressGate() const { return *m_gate; }
    // The deck alone beside the editor; it shows the key faces while it is open.
    void showDeckWindow(bool show);
    DeckWindow* deckWindow() const { return m_deckWindow; }
    KeyCell* cell(int slot) const { return m_cells.value(slot); }
    // The editor of the selected multi-action key (hidden for other keys).
    MultiActionEditor& multiActionEditor() const { return *m_multiEditor; }
    // The inspector shown below the deck: the key's, or the selected step's.
    QWidget* shownInspector() const { return m_inspector; }
    QUndoStack& undoStack() { return m_undo; }
    QString bannerText() const;
    QString inspectorHint() const;

    // What the menus do, callable without their dialogs.
    void select(int slot);
    // A category of the package, or MultiAction::kCategory for a new multi-action key.
    void assign(int slot, const QString& category);
    void removeSelected();
    void copySelected();
    void pasteToSelected();
    void moveKey(int from, int to);
    void showPage(int page);
    void addPage();
    void removeCurrentPage();
    bool switchProfile(const QString& path);
    bool createProfile(const QString& name, QString* error);
    bool importProfile(const QString& file, QString* error);
    bool exportProfile(const QString& file, QString* error);

    // Asked before a key or a page with keys goes; answers yes without asking when set to false.
    void setConfirmReplace(bool confirm) { m_confirmReplace = confirm; }

private slots:
    void openIconBuilder();

private:
    void buildMenus();
    void buildDeck();
    void buildCategoryList();
    void refresh(int slot);
    void refreshSnapshot(int slot);
    void pressFailed(int slot, const QString& why);
    void refreshPage();
    void detachInspector();
    void showInspector(QWidget* inspector);
    void showHint(const QString& hint);
    void showStep(int index);
    void addChosenAction(int index);
    void connectIconBuilder(QWidget* inspector);
    void pushEntry(int slot, const QJsonObject& entry, const QString& text);
    bool mayReplace(int slot);
    QString replaceQuestion(int slot) const;
    QString actionName(const QString& category) const;
    void updateProfilesMenu();
    void updateTitle();

    HostSession& m_session;
    QUndoStack m_undo;
    QListWidget* m_categories = nullptr;
    QScrollArea* m_deckScroll = nullptr;
    QWidget* m_deckView = nullptr;
    QVector<KeyCell*> m_cells;
    QLabel* m_banner = nullptr;
    QWidget* m_bannerBox = nullptr;
    QLabel* m_pageLabel = nullptr;
    QWidget* m_inspectorArea = nullptr;
    QLabel* m_hint = nullptr;
    MultiActionEditor* m_multiEditor = nullptr;
    QMenu* m_profilesMenu = nullptr;
    QList<QAction*> m_deckActions;  // active while the deck has the focus
    QPointer<QWidget> m_inspector;  // owned by its action
    FocusKeeper* m_focus = nullptr;
    PressGate* m_gate = nullptr;
    DeckWindow* m_deckWindow = nullptr;  // no parent: a window of its own, deleted here
    QAction* m_deckWindowAction = nullptr;
    int m_selected = -1;
    bool m_confirmReplace = true;
};
