#include "hostsession.h"

#include "hostlog.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QJsonArray>

HostSession::HostSession(Options options, QObject* parent)
    : QObject(parent)
    , m_options(std::move(options))
    , m_loader(m_options.library)
    , m_profile(std::make_unique<ProfileStore>(m_options.profilePath, m_options.readOnlyProfile))
    , m_defaultProfile(m_options.defaultProfile.isEmpty() ? m_options.profilePath : m_options.defaultProfile)
{
}

namespace {
const char* const kLastProfileKey = "lastProfile";

// The host's own settings beside its profiles.
QSettings settings(const QString& configDir)
{
    return QSettings(QDir(configDir).filePath(QStringLiteral("vanta-host.conf")), QSettings::IniFormat);
}
} // namespace

HostSession::~HostSession()
{
    m_deck.reset();            // every action first,
    m_loader.releasePackage(); // then the package
}

bool HostSession::start(QString* error)
{
    if (!m_loader.load(error))
        return false;
    if (!m_server.listen()) {
        *error = QStringLiteral("cannot listen on 127.0.0.1");
        return false;
    }
    host::PackageInterface* p = m_loader.package();
    if (!p->init({{"port", int(m_server.port())}, {"configDir", m_options.configDir}, {"cloudType", 0}})) {
        *error = QStringLiteral("the package refused init");
        return false;
    }
    if (!p->loadConfig())
        qCWarning(lcHost) << "the package has no category configuration";
    m_versionCode = p->versionCode();
    m_versionName = p->versionName();
    m_list = p->list();
    if (QTranslator* translator = p->translate(m_options.lang))
        QCoreApplication::installTranslator(translator);
    m_titles = p->mapping();
    makeDeck(m_options.columns, m_options.rows);
    return true;
}

void HostSession::makeDeck(int columns, int rows)
{
    m_deck = std::make_unique<Deck>(package(), columns, rows);
    m_deck->setStepGate(m_stepGate);
}

void HostSession::setStepGate(const std::function<void(std::function<void()>)>& gate)
{
    m_stepGate = gate;
    if (m_deck)
        m_deck->setStepGate(gate);
}

void HostSession::noteProblem(const QString& problem)
{
    // Before anything is written over a profile that did not load cleanly.
    m_profile->keepBadCopy();
    emit problemFound(problem);
}

void HostSession::restoreProfile(QStringList* problems)
{
    const qsizetype before = problems->size();
    const QJsonObject stored = m_profile->load(problems);
    const QJsonObject grid = stored.value("grid").toObject();
    if (!stored.isEmpty() && (grid.value("columns").toInt() != m_deck->columns() || grid.value("rows").toInt() != m_deck->rows()))
        makeDeck(grid.value("columns").toInt(), grid.value("rows").toInt());
    m_deck->restore(stored, problems);
    if (problems->size() > before)
        m_profile->keepBadCopy();
    connect(m_deck.get(), &Deck::problemFound, this, &HostSession::noteProblem);
    if (m_options.readOnlyProfile)
        return;
    const auto store = [this] {
        QString problem;
        if (!saveProfile(&problem))
            qCWarning(lcHost).noquote() << problem;
    };
    connect(m_deck.get(), &Deck::settingsReported, this, store);
    connect(m_deck.get(), &Deck::changed, this, store);
}

bool HostSession::saveProfile(QString* problem)
{
    return m_profile->save(m_deck->profile(), problem);
}

void HostSession::openProfile(const QString& path, QStringList* problems)
{
    m_deck.reset();
    m_profile = std::make_unique<ProfileStore>(path, m_options.readOnlyProfile);
    m_options.profilePath = path;
    makeDeck(m_options.columns, m_options.rows);
    restoreProfile(problems);
    if (!m_options.readOnlyProfile)
        settings(m_options.configDir).setValue(kLastProfileKey, path);
    emit deckReplaced();
}

QString HostSession::lastProfile(const QString& configDir)
{
    const QString path = settings(configDir).value(kLastProfileKey).toString();
    return !path.isEmpty() && QFileInfo(path).isFile() ? path : QString();
}

QString HostSession::profilesFolder() const
{
    return QDir(m_options.configDir).filePath(QStringLiteral("profiles"));
}

QMap<QString, QString> HostSession::namedProfiles() const
{
    QMap<QString, QString> named;
    named.insert(QStringLiteral("Default"), m_defaultProfile);
    const QDir folder(profilesFolder());
    for (const QFileInfo& file : folder.entryInfoList({QStringLiteral("*.json")}, QDir::Files, QDir::Name))
        named.insert(file.completeBaseName(), file.absoluteFilePath());
    return named;
}
