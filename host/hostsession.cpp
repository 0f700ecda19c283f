#include "hostsession.h"

#include "hostlog.h"

#include <QCoreApplication>
#include <QJsonArray>

HostSession::HostSession(Options options, QObject* parent)
    : QObject(parent)
    , m_options(std::move(options))
    , m_loader(m_options.library)
    , m_profile(m_options.profilePath)
{
}

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
    m_deck = std::make_unique<Deck>(p, m_options.columns, m_options.rows);
    return true;
}

void HostSession::restoreProfile(QStringList* problems)
{
    QString problem;
    const QJsonObject stored = m_profile.load(&problem);
    if (!problem.isEmpty())
        problems->append(problem);
    const QJsonObject grid = stored.value("grid").toObject();
    if (!stored.isEmpty() && (grid.value("columns").toInt() != m_deck->columns() || grid.value("rows").toInt() != m_deck->rows())) {
        m_deck = std::make_unique<Deck>(package(), qMax(1, grid.value("columns").toInt()), qMax(1, grid.value("rows").toInt()));
    }
    m_deck->restore(stored, problems);
    connect(m_deck.get(), &Deck::settingsReported, this, [this] {
        QString saveProblem;
        if (!m_profile.save(m_deck->profile(), &saveProblem))
            qCWarning(lcHost).noquote() << saveProblem;
    });
}
