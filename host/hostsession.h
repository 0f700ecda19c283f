#pragma once

#include "deck.h"
#include "hostserver.h"
#include "packageloader.h"
#include "profilestore.h"
#include "profilewriter.h"

#include <QJsonObject>
#include <QMap>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>

// One run of the host: the package loaded and initialised in the order of use, the
// local server, the deck restored from the profile. Tears down in the reverse order:
// actions, then the package.
class HostSession : public QObject
{
    Q_OBJECT
public:
    struct Options
    {
        QString library;
        QString configDir;
        QString profilePath;
        QString lang = QStringLiteral("en_US");
        int columns = 5;
        int rows = 3;
        bool readOnlyProfile = false;  // never writes the profile, never renames it
        QString defaultProfile;        // the profile named "Default"; empty: profilePath
    };

    // The profile the user last switched to in `configDir`, if it still exists.
    static QString lastProfile(const QString& configDir);

    explicit HostSession(Options options, QObject* parent = nullptr);
    ~HostSession() override;

    // Loads and initialises the package; on failure says why.
    bool start(QString* error);
    // Recreates the keys of the profile and from then on stores every change. What
    // went wrong goes to `problems`; a profile with problems is first copied to .bad.
    void restoreProfile(QStringList* problems);
    // Leaves the current profile (it is stored already) and restores the one at `path`.
    void openProfile(const QString& path, QStringList* problems);
    // Stores the deck now; false with `problem` when it cannot.
    bool saveProfile(QString* problem);
    // Stores the deck now if a change waits to be stored (or failed to be).
    bool flushProfile(QString* problem);
    // Changes are stored this long after the last one, off the GUI thread (typing in
    // a field writes once), and at the latest when the session ends.
    static constexpr int kSaveDelayMs = 400;

    // What the action steps of multi-action keys go through, on this deck and the next.
    void setStepGate(const std::function<void(std::function<void()>)>& gate);

    // Named profiles: the default one and FILE.json files of the "profiles" folder.
    QString profilesFolder() const;
    QMap<QString, QString> namedProfiles() const;

    host::PackageInterface* package() const { return m_loader.package(); }
    Deck& deck() { return *m_deck; }
    ProfileStore& profile() { return *m_profile; }
    HostServer& server() { return m_server; }
    const Options& options() const { return m_options; }
    const QJsonObject& packageList() const { return m_list; }
    const QMap<QString, QString>& titles() const { return m_titles; }
    int versionCode() const { return m_versionCode; }
    const QString& versionName() const { return m_versionName; }

signals:
    // A new deck replaced the old one (another profile, another grid).
    void deckReplaced();
    void problemFound(const QString& problem);
    // A change was written in the background.
    void profileSaved();

private:
    void scheduleSave();
    void saveFailed(const QString& problem);
    void noteProblem(const QString& problem);
    void makeDeck(int columns, int rows);

    Options m_options;
    PackageLoader m_loader;
    HostServer m_server;
    std::shared_ptr<ProfileStore> m_profile;  // shared with writes in progress
    ProfileWriter m_writer;
    QTimer m_saveTimer;
    bool m_unsaved = false;  // a write in the background failed
    QString m_defaultProfile;  // the one the host started with
    std::unique_ptr<Deck> m_deck;
    std::function<void(std::function<void()>)> m_stepGate;
    QJsonObject m_list;
    QMap<QString, QString> m_titles;
    int m_versionCode = 0;
    QString m_versionName;
};
