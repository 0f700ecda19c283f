#pragma once

#include <QDialog>

class Deck;
class FocusSource;
class QLineEdit;
class QListWidget;

// A page's applications: the programs that have windows now are offered with a check
// box each (those the page names already are checked), another one can be typed, and
// title patterns (wildcards, comma-separated) narrow them down.
class PageAppsDialog : public QDialog
{
    Q_OBJECT
public:
    // `source` lists the programs with windows (nullptr: only what the page names).
    PageAppsDialog(Deck& deck, int page, FocusSource* source, QWidget* parent = nullptr);

    QStringList apps() const;
    QStringList titles() const;
    // Stores the choice in the page; false with why not.
    bool apply(QString* error);
    // Checks `program` (added to the list when it is not there).
    void check(const QString& program);

private:
    void offer(const QStringList& programs);

    Deck& m_deck;
    int m_page;
    QListWidget* m_programs = nullptr;
    QLineEdit* m_other = nullptr;
    QLineEdit* m_titles = nullptr;
};
