#pragma once

#include "actioninterface.h"
#include "packageinterface.h"

#include <QImage>
#include <QJsonArray>
#include <QJsonObject>
#include <QMap>
#include <QObject>
#include <QVector>
#include <functional>

class MultiAction;

// The virtual deck: pages of keys, each key stored as its profile entry {"slot",
// "category", "target", "payload" | "preset", ...}, or as a multi-action key of the
// host's own (see MultiAction). Only the shown page has action objects, created
// through the package and driven with the event envelopes; the keys of other pages
// are entries only and cost nothing until shown. An entry the package cannot load
// stays as it is, shown as a placeholder that says why, and is written back
// unchanged. Never deletes an action's widgets: the action does.
class Deck : public QObject
{
    Q_OBJECT
public:
    static constexpr int kKeyWidth = 150;
    static constexpr int kKeyHeight = 108;

    Deck(host::PackageInterface* package, int columns, int rows, QObject* parent = nullptr);
    ~Deck() override;

    int columns() const { return m_columns; }
    int rows() const { return m_rows; }
    int slotCount() const { return m_columns * m_rows; }

    int pageCount() const { return int(m_pages.size()); }
    int currentPage() const { return m_current; }
    // Shows `page`: the keys of the page left are put away, those of `page` created.
    // The user's choice: it is the page stored, and the one focus goes back to.
    bool setCurrentPage(int page, QString* error);
    // Shows `page` for the focused application: not stored, not the user's choice.
    bool followPage(int page, QString* error);
    // The page the user chose last (the one shown unless a page follows the focus).
    int handPage() const { return m_handPage; }
    // The page as stored, without its keys ("apps", "titles", fields of others).
    QJsonObject pageSettings(int page) const { return m_pages.value(page).data; }
    // Names the applications `page` is for (empty: none); stored with the page.
    bool setPageApps(int page, const QStringList& apps, const QStringList& titles, QString* error);
    // Appends an empty page; its index, or -1 at the page limit.
    int addPage();
    // Puts a page (as pageData() gave it) back at `index`; the shown page stays shown.
    bool insertPage(int index, const QJsonObject& data, QString* error);
    // Removes the page and its keys (the last page cannot go).
    bool removePage(int page, QString* error);
    QJsonObject pageData(int page) const;

    // Creates the action in `slot` of the shown page, replacing what was there, and
    // initialises it with `params` ("preset", "payload" or neither). On refusal the
    // old key stays.
    bool assign(int slot, const QString& category, const QJsonObject& params, QString* error,
                const QString& target = QString());
    // Puts a whole entry (a multi-action key, say) into `slot` of the shown page; on
    // refusal the old key stays.
    bool assignEntry(int slot, const QJsonObject& entry, QString* error);
    bool remove(int slot);
    // The key's profile entry on the shown page; empty for an empty slot.
    QJsonObject entry(int slot) const;
    // Puts `entry` (empty: nothing) into `slot` of the shown page. An entry that cannot
    // be loaded stays as a placeholder; the reason goes to `problem`.
    void setEntry(int slot, const QJsonObject& entry, QString* problem = nullptr);
    host::ActionInterface* action(int slot) const;
    // The multi-action key in `slot`, if it holds one.
    MultiAction* multiAction(int slot) const;
    // Whether `slot` holds a key that works: an action or a multi-action.
    bool isLoaded(int slot) const;
    // The key face to show: the action's, or the one the host draws for a multi-action.
    QWidget* face(int slot) const;
    // What is wrong with the steps of a multi-action key, one line each.
    QStringList stepProblems(int slot) const;
    bool isRunning(int slot) const;
    // Why a press of `slot` is refused now (a multi-action still running); empty otherwise.
    QString busyReason(int slot) const;
    QString category(int slot) const;
    // Why the key in `slot` is a placeholder; empty for a working or empty key.
    QString problem(int slot) const;
    // Entries of the shown page that have no slot on it (outside the grid, duplicate).
    int unplacedCount() const;

    bool sendEvent(int slot, const QString& type, QString* error);
    // A key press as the device reports it: key down and app triggered, then key up.
    // A multi-action key runs its steps after the press returns; pressing it again
    // while it runs fails, with why.
    bool pressDown(int slot, QString* error);
    bool release(int slot, QString* error);
    bool press(int slot, QString* error);

    QImage render() const;
    // PNG quality for rendered decks: zlib's fastest level, since scripts write one per
    // step and wait for it.
    static constexpr int kPictureQuality = 80;
    QJsonObject profile() const;
    // Takes over a stored profile (see ProfileStore) and shows its page; problems of
    // that page are collected, not fatal.
    void restore(const QJsonObject& profile, QStringList* problems);

    static QString newTarget();
    // What every multi-action key's action steps go through before they run.
    void setStepGate(const std::function<void(std::function<void()>)>& gate);

signals:
    void settingsReported(int slot, const QString& target, const QJsonObject& payload);
    void slotChanged(int slot);
    void pageChanged(int page);
    // A page's applications were set.
    void pageAppsChanged(int page);
    // Something to store: a key or page added, moved, removed.
    void changed();
    void problemFound(const QString& problem);
    // A multi-action key's run: each step's end (also of one that could not run), the end.
    void runStepFinished(int slot, int step);
    void runStepFailed(int slot, int step, const QString& why);
    void runFinished(int slot, qint64 ms);

private slots:
    void onEventSent(const QJsonObject& event);

private:
    struct Key
    {
        host::ActionInterface* action = nullptr;
        MultiAction* multi = nullptr;
        QJsonObject entry;
        QString problem;
    };
    struct Page
    {
        QJsonObject data;                 // the stored page without its keys
        QMap<int, QJsonObject> entries;   // by slot
        QJsonArray unplaced;              // entries without a slot on this deck, kept as they are
    };

    bool validSlot(int slot, QString* error) const;
    MultiAction* createMulti(int slot, const QJsonObject& entry);
    bool install(int slot, const QJsonObject& entry, const QJsonObject& params, bool keepPrevious, QString* error);
    void destroy(Key& key);
    void showPage(QStringList* problems);
    void showPageReporting();  // problems of a page shown later go out as problemFound
    void hidePage();
    Page readPage(const QJsonObject& page, int index, QStringList* problems) const;
    void switchPage(int page);

    host::PackageInterface* m_package;
    int m_columns;
    int m_rows;
    QVector<Page> m_pages;
    int m_current = 0;
    int m_handPage = 0;
    QMap<int, Key> m_keys;  // the shown page's keys
    std::function<void(std::function<void()>)> m_stepGate;
};
