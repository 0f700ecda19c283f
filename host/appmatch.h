#pragma once

#include <QJsonObject>
#include <QRegularExpression>
#include <QStringList>

struct FocusedWindow;

// The applications a page is for, as its profile entry names them: "apps" (program
// names or app ids, matched whole and without case against the window's app id, WM_CLASS
// instance and process name) and, optionally, "titles" (wildcards, * and ?, matched
// against the whole window title without case). With titles, a window must match both.
class AppMatch
{
public:
    AppMatch() = default;
    // Reads the page's fields; what cannot be used is named in `problem` and left out
    // (the page keeps it in the profile).
    static AppMatch fromPage(const QJsonObject& page, QString* problem = nullptr);

    bool isEmpty() const { return m_apps.isEmpty(); }
    bool matches(const FocusedWindow& window) const;
    const QStringList& apps() const { return m_apps; }
    const QStringList& titles() const { return m_titlePatterns; }

    static constexpr int kMaxNames = 100;
    static constexpr int kMaxNameLength = 256;

    // "apps" or "titles" of a script or a page as a list of names; false with why not.
    static bool readNames(const QJsonValue& value, const char* field, QStringList* names, QString* why);

private:
    QStringList m_apps;
    QStringList m_titlePatterns;
    QList<QRegularExpression> m_titles;
};
