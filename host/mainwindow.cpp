#include "mainwindow.h"

#include "categorylist.h"
#include "hostsession.h"
#include "keycell.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QJsonArray>
#include <QStatusBar>
#include <QVBoxLayout>

MainWindow::MainWindow(HostSession& session, QWidget* parent)
    : QMainWindow(parent)
    , m_session(session)
{
    setWindowTitle(QStringLiteral("vanta-host — %1 %2")
                       .arg(session.packageList().value("category").toString(), session.versionName()));
    setStyleSheet(QStringLiteral("QMainWindow, QWidget#central { background-color: rgb(20,20,20); }"
                                 "QListWidget { background-color: #1E1E1E; color: rgb(161,161,161); border: none; }"));
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("central"));
    auto* columns = new QHBoxLayout(central);
    m_categories = new CategoryList(central);
    m_categories->setFixedWidth(220);
    columns->addWidget(m_categories);

    auto* right = new QVBoxLayout;
    right->addLayout(buildDeck(central));
    m_inspectorArea = new QWidget(central);
    m_inspectorArea->setFixedSize(824, 234);
    m_inspectorArea->setStyleSheet(QStringLiteral("background-color: rgb(40,40,40);"));
    right->addWidget(m_inspectorArea);
    right->addStretch();
    columns->addLayout(right);
    setCentralWidget(central);

    buildCategoryList();
    connect(m_categories, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        assign(m_selected < 0 ? 0 : m_selected, item->data(CategoryList::kCategoryRole).toString());
    });
    connect(&m_session.deck(), &Deck::slotChanged, this, &MainWindow::refresh);
    for (int slot = 0; slot < m_cells.size(); ++slot)
        refresh(slot);
    select(0);
}

MainWindow::~MainWindow()
{
    // The actions own their widgets: hand every one back before the window goes.
    detachInspector();
    for (KeyCell* cell : std::as_const(m_cells))
        cell->setFace(nullptr);
}

QGridLayout* MainWindow::buildDeck(QWidget* central)
{
    auto* grid = new QGridLayout;
    grid->setSpacing(6);
    Deck& deck = m_session.deck();
    for (int slot = 0; slot < deck.slotCount(); ++slot) {
        auto* cell = new KeyCell(slot, central);
        grid->addWidget(cell, slot / deck.columns(), slot % deck.columns());
        connect(cell, &KeyCell::pressed, this, [this](int s) {
            select(s);
            QString error;
            if (m_session.deck().action(s))
                m_session.deck().pressDown(s, &error);
        });
        connect(cell, &KeyCell::released, this, [this](int s) {
            QString error;
            if (m_session.deck().action(s))
                m_session.deck().release(s, &error);
        });
        connect(cell, &KeyCell::categoryDropped, this, &MainWindow::assign);
        m_cells << cell;
    }
    return grid;
}

void MainWindow::buildCategoryList()
{
    for (const QJsonValue& node : m_session.packageList().value("subnode").toArray()) {
        const QString titleKey = node["title"].toString();
        QString title = m_session.titles().value(titleKey);
        if (title.isEmpty() || title == titleKey)
            title = node["subtitle"].toString();
        auto* item = new QListWidgetItem(QIcon(node["menu_icon"].toString()), title, m_categories);
        item->setData(CategoryList::kCategoryRole, node["category"].toString());
        item->setToolTip(node["category"].toString());
    }
}

void MainWindow::assign(int slot, const QString& category)
{
    QString error;
    if (!m_session.deck().assign(slot, category, {}, &error))
        statusBar()->showMessage(error, 5000);
    select(slot);
}

void MainWindow::refresh(int slot)
{
    if (slot < 0 || slot >= m_cells.size())
        return;
    if (slot == m_selected)
        detachInspector();
    host::ActionInterface* action = m_session.deck().action(slot);
    m_cells[slot]->setFace(action ? action->pluginWidget() : nullptr);
    if (slot == m_selected)
        select(slot);
}

void MainWindow::detachInspector()
{
    if (m_inspector) {
        m_inspector->hide();
        m_inspector->setParent(nullptr);
        m_inspector = nullptr;
    }
}

void MainWindow::select(int slot)
{
    detachInspector();
    if (m_selected >= 0 && m_selected < m_cells.size())
        m_cells[m_selected]->setSelected(false);
    m_selected = slot;
    m_cells[slot]->setSelected(true);
    host::ActionInterface* action = m_session.deck().action(slot);
    m_inspector = action ? action->propertyWidget() : nullptr;
    if (m_inspector) {
        m_inspector->setParent(m_inspectorArea);
        m_inspector->move(0, 0);
        m_inspector->show();
    }
}
