#pragma once

#include "deck.h"
#include "hostserver.h"
#include "packageloader.h"
#include "profilestore.h"

#include <QJsonObject>
#include <QMap>
#include <QString>
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
    };

    explicit HostSession(Options options, QObject* parent = nullptr);
    ~HostSession() override;

    // Loads and initialises the package; on failure says why.
    bool start(QString* error);
    // Recreates the keys of the profile (a damaged profile is set aside) and from
    // then on stores every reported payload.
    void restoreProfile(QStringList* problems);

    host::PackageInterface* package() const { return m_loader.package(); }
    Deck& deck() { return *m_deck; }
    ProfileStore& profile() { return m_profile; }
    HostServer& server() { return m_server; }
    const QJsonObject& packageList() const { return m_list; }
    const QMap<QString, QString>& titles() const { return m_titles; }
    int versionCode() const { return m_versionCode; }
    const QString& versionName() const { return m_versionName; }

private:
    Options m_options;
    PackageLoader m_loader;
    HostServer m_server;
    ProfileStore m_profile;
    std::unique_ptr<Deck> m_deck;
    QJsonObject m_list;
    QMap<QString, QString> m_titles;
    int m_versionCode = 0;
    QString m_versionName;
};
