#include "fuzzhost.h"

#include "fuzzsupport.h"

#include <QDir>

FuzzHost::FuzzHost()
{
    QString error;
    if (!m_loader.load(&error) || !m_loader.package()->init({{"port", 0}, {"configDir", FuzzSupport::scratch("config")}, {"cloudType", 0}}))
        qFatal("cannot load the package: %s", qPrintable(error));
    m_loader.package()->loadConfig();
    m_deck = std::make_unique<Deck>(m_loader.package(), 4, 2);
}

void FuzzHost::reset()
{
    for (int slot = 0; slot < m_deck->slotCount(); ++slot)
        m_deck->remove(slot);
    QDir(FuzzSupport::scratch("config/icon")).removeRecursively();  // icons a script picked
    QDir(FuzzSupport::scratch("profile")).removeRecursively();
    QDir().mkpath(FuzzSupport::scratch("profile"));
}
