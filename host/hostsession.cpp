#include "hostsession.h"

#include "hostlog.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QJsonArray>

#include <cstdio>

HostSession::HostSession(Options options, QObject* parent)
    : QObject(parent)
    , m_options(std::move(options))
    , m_loader(m_options.library)
    , m_profile(std::make_shared<ProfileStore>(m_options.profilePath, m_options.readOnlyProfile))
    , m_defaultProfile(m_options.defaultProfile.isEmpty() ? m_options.profilePath : m_options.defaultProfile)
{
    m_saveTimer.setSingleShot(true);
    m_saveTimer.setInterval(kSaveDelayMs);
    connect(&m_saveTimer, &QTimer::timeout, this, [this] { m_writer.writeLater(m_profile, m_deck->profile()); });
    connect(&m_writer, &ProfileWriter::failed, this, &HostSession::saveFailed);
    connect(&m_writer, &ProfileWriter::written, this, &HostSession::profileSaved);
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
    QString problem;
    if (!flushProfile(&problem))
        std::fprintf(stderr, "vanta-host: %s\n", qPrintable(problem));
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
    if (!m_profile->writable())
        return;  // said once, in `problems`
    connect(m_deck.get(), &Deck::settingsReported, this, &HostSession::scheduleSave);
    connect(m_deck.get(), &Deck::changed, this, &HostSession::scheduleSave);
}

void HostSession::scheduleSave()
{
    m_saveTimer.start();
}

void HostSession::saveFailed(const QString& problem)
{
    m_unsaved = true;  // tried again at the next flush
    qCWarning(lcHost).noquote() << problem;
    emit problemFound(problem);
}

bool HostSession::saveProfile(QString* problem)
{
    m_saveTimer.stop();
    if (!m_writer.writeNow(*m_profile, m_deck->profile(), problem))
        return false;
    m_unsaved = false;
    return true;
}

bool HostSession::flushProfile(QString* problem)
{
    return !(m_saveTimer.isActive() || m_unsaved) || saveProfile(problem);
}

void HostSession::openProfile(const QString& path, QStringList* problems)
{
    QString problem;
    if (!flushProfile(&problem))
        saveFailed(problem);
    m_unsaved = false;  // said; the profile left keeps its file as it was
    m_deck.reset();
    m_profile = std::make_shared<ProfileStore>(path, m_options.readOnlyProfile);
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
