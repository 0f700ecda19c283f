#include "deckwindow.h"

#include "hostsession.h"
#include "keycell.h"
#include "pressgate.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
// A utility window that the window manager never gives the keyboard focus.
constexpr Qt::WindowFlags kDeckFlags = Qt::Tool | Qt::WindowDoesNotAcceptFocus;

QToolButton* pageButton(const QString& text, QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setText(text);
    button->setFocusPolicy(Qt::NoFocus);
    button->setAutoRaise(true);
    return button;
}
} // namespace

DeckWindow::DeckWindow(HostSession& session, PressGate& gate, QWidget* parent)
    : QWidget(parent, kDeckFlags)
    , m_session(session)
    , m_gate(gate)
{
    setObjectName(QStringLiteral("deckWindow"));
    setWindowTitle(tr("vanta-host deck"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setStyleSheet(QStringLiteral("QWidget#deckWindow { background-color: rgb(20,20,20); }"
                                 "QLabel, QToolButton { color: rgb(161,161,161); }"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 4);
    layout->setSpacing(4);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    m_keys = new QWidget(this);
    layout->addWidget(m_keys);
    auto* pageBar = new QHBoxLayout;
    QToolButton* previous = pageButton(QStringLiteral("◀"), this);
    QToolButton* next = pageButton(QStringLiteral("▶"), this);
    m_pageLabel = new QLabel(this);
    pageBar->addStretch();
    pageBar->addWidget(previous);
    pageBar->addWidget(m_pageLabel);
    pageBar->addWidget(next);
    pageBar->addStretch();
    layout->addLayout(pageBar);
    connect(previous, &QToolButton::clicked, this, [this] { showPage(m_session.deck().currentPage() - 1); });
    connect(next, &QToolButton::clicked, this, [this] { showPage(m_session.deck().currentPage() + 1); });
    connect(&m_session, &HostSession::deckReplaced, this, &DeckWindow::build);
    build();
}

DeckWindow::~DeckWindow()
{
    releaseFaces();
}

bool DeckWindow::staysOnTop() const
{
    return windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

void DeckWindow::setStaysOnTop(bool onTop)
{
    const bool shown = isVisible();
    setWindowFlags(kDeckFlags | (onTop ? Qt::WindowStaysOnTopHint : Qt::WindowFlags()));
    if (shown)
        show();
}

void DeckWindow::releaseFaces()
{
    for (KeyCell* cell : std::as_const(m_cells))
        cell->setFace(nullptr);  // the actions own their faces
}

void DeckWindow::build()
{
    releaseFaces();
    qDeleteAll(m_cells);
    m_cells.clear();
    delete m_keys->layout();
    auto* grid = new QGridLayout(m_keys);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(6);
    Deck& deck = m_session.deck();
    for (int slot = 0; slot < deck.slotCount(); ++slot) {
        auto* cell = new KeyCell(slot, m_keys);
        cell->setPressOnly(true);
        grid->addWidget(cell, slot / deck.columns(), slot % deck.columns());
        connect(cell, &KeyCell::pressed, &m_gate, &PressGate::down);
        connect(cell, &KeyCell::released, &m_gate, &PressGate::up);
        m_cells << cell;
    }
    connect(&deck, &Deck::slotChanged, this, &DeckWindow::refresh);
    connect(&deck, &Deck::pageChanged, this, &DeckWindow::refreshPage);
    refreshPage();
}

void DeckWindow::refresh(int slot)
{
    KeyCell* cell = m_cells.value(slot);
    if (!cell)
        return;
    const Deck& deck = m_session.deck();
    cell->setFace(deck.face(slot));
    cell->setProblem(deck.category(slot), deck.problem(slot));
}

void DeckWindow::refreshPage()
{
    for (int slot = 0; slot < m_cells.size(); ++slot)
        refresh(slot);
    const Deck& deck = m_session.deck();
    m_pageLabel->setText(tr("%1 / %2").arg(deck.currentPage() + 1).arg(deck.pageCount()));
}

void DeckWindow::showPage(int page)
{
    QString error;
    if (page >= 0 && page < m_session.deck().pageCount())
        m_session.deck().setCurrentPage(page, &error);
}

void DeckWindow::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    QAction* onTop = menu.addAction(tr("Stay on top"));
    onTop->setCheckable(true);
    onTop->setChecked(staysOnTop());
    QAction* close = menu.addAction(tr("Close"));
    QAction* chosen = menu.exec(event->globalPos());
    if (chosen == onTop)
        setStaysOnTop(!staysOnTop());
    else if (chosen == close)
        this->close();
}

void DeckWindow::showEvent(QShowEvent* event)
{
    refreshPage();  // the faces come here while the deck is open
    QWidget::showEvent(event);
}

void DeckWindow::closeEvent(QCloseEvent* event)
{
    releaseFaces();
    emit closed();
    QWidget::closeEvent(event);
}
