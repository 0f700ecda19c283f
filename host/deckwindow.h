#pragma once

#include <QVector>
#include <QWidget>

class HostSession;
class KeyCell;
class PressGate;
class QLabel;

// The deck alone, as a compact window that never takes the keyboard focus (as an
// on-screen keyboard): a click on a key presses it while the focus stays in the
// application the user works in. It shows the key faces itself while it is open.
class DeckWindow : public QWidget
{
    Q_OBJECT
public:
    DeckWindow(HostSession& session, PressGate& gate, QWidget* parent = nullptr);
    ~DeckWindow() override;

    KeyCell* cell(int slot) const { return m_cells.value(slot); }
    bool staysOnTop() const;
    void setStaysOnTop(bool onTop);

signals:
    void closed();

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void build();
    void refresh(int slot);
    void refreshPage();
    void showPage(int page);
    void releaseFaces();

    HostSession& m_session;
    PressGate& m_gate;
    QWidget* m_keys = nullptr;
    QLabel* m_pageLabel = nullptr;
    QVector<KeyCell*> m_cells;
};
