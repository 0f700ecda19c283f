#include "mainwindow.h"

#include "appmatch.h"
#include "categorylist.h"
#include "deckcommand.h"
#include "deckwindow.h"
#include "focuskeeper.h"
#include "hosticonbuilder.h"
#include "hostsession.h"
#include "iconpicker.h"
#include "keycell.h"
#include "multiaction.h"
#include "multiactioneditor.h"
#include "pageappsdialog.h"
#include "pagecommand.h"
#include "pagefollower.h"
#include "pressgate.h"
#include "profilestore.h"
#include "urlcatcher.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollArea>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
constexpr int kBannerLines = 4;
constexpr int kInspectorWidth = 824;
constexpr int kInspectorHeight = 234;

// Busy cursor for work that holds the window: loading a page or a profile.
class BusyCursor
{
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::BusyCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

// The action list's picture of a multi-action: three stacked cards.
QIcon multiActionIcon()
{
    QPixmap pixmap(45, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    const QColor accent(0xFF, 0x99, 0x00);
    for (int i = 2; i >= 0; --i) {
        painter.setBrush(i == 0 ? accent : accent.darker(140 + 40 * i));
        painter.drawRoundedRect(QRectF(10 + 5 * i, 12 - 4 * i, 22, 15), 2, 2);
    }
    return QIcon(pixmap);
}
} // namespace

MainWindow::MainWindow(HostSession& session, QWidget* parent)
    : QMainWindow(parent)
    , m_session(session)
    , m_focus(new FocusKeeper(this))
    , m_gate(new PressGate(session, *m_focus, this))
{
    connect(m_gate, &PressGate::failed, this, &MainWindow::pressFailed);
    // The deck shows the page of the application the user works in.
    auto* follower = new PageFollower(session, this);
    connect(follower, &PageFollower::followed, this, [this](int page, const FocusedWindow& window) {
        showStatus(tr("Page %1, for %2").arg(page + 1).arg(window.name()));
    });
    setStyleSheet(QStringLiteral("QMainWindow, QWidget#central, QScrollArea, QWidget#deckView { background-color: rgb(20,20,20); }"
                                 "QListWidget { background-color: #1E1E1E; color: rgb(161,161,161); border: none; }"
                                 "QLabel#pageLabel, QLabel#hint { color: rgb(161,161,161); }"
                                 "QWidget#bannerBox { background-color: #5A4A10; }"
                                 "QStatusBar { background-color: #1E1E1E; color: rgb(230,230,230); }"
                                 "QLabel#banner { color: white; }"));
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("central"));
    auto* outer = new QVBoxLayout(central);

    m_bannerBox = new QWidget(central);
    m_bannerBox->setObjectName(QStringLiteral("bannerBox"));
    m_bannerBox->setAttribute(Qt::WA_StyledBackground);
    auto* bannerRow = new QHBoxLayout(m_bannerBox);
    m_banner = new QLabel(m_bannerBox);
    m_banner->setObjectName(QStringLiteral("banner"));
    m_banner->setTextFormat(Qt::PlainText);
    m_banner->setWordWrap(true);
    m_banner->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* closeBanner = new QToolButton(m_bannerBox);
    closeBanner->setText(QStringLiteral("✕"));
    connect(closeBanner, &QToolButton::clicked, m_bannerBox, &QWidget::hide);
    bannerRow->addWidget(m_banner, 1);
    bannerRow->addWidget(closeBanner, 0, Qt::AlignTop);
    m_bannerBox->hide();
    outer->addWidget(m_bannerBox);

    auto* columns = new QHBoxLayout;
    outer->addLayout(columns, 1);
    m_categories = new CategoryList(central);
    m_categories->setFixedWidth(220);
    columns->addWidget(m_categories);

    auto* right = new QVBoxLayout;
    m_deckScroll = new QScrollArea(central);
    m_deckScroll->setAlignment(Qt::AlignCenter);
    m_deckScroll->setFrameShape(QFrame::NoFrame);
    right->addWidget(m_deckScroll, 1);

    auto* pageBar = new QHBoxLayout;
    auto* previous = new QPushButton(QStringLiteral("◀"), central);
    auto* next = new QPushButton(QStringLiteral("▶"), central);
    auto* add = new QPushButton(tr("Add page"), central);
    auto* test = new QPushButton(tr("Test key"), central);
    test->setObjectName(QStringLiteral("testKey"));
    test->setToolTip(tr("Press the selected key (or hold the mouse on a key, or press Space)"));
    m_pageLabel = new QLabel(central);
    m_pageLabel->setObjectName(QStringLiteral("pageLabel"));
    pageBar->addStretch();
    pageBar->addWidget(previous);
    pageBar->addWidget(m_pageLabel);
    pageBar->addWidget(next);
    pageBar->addWidget(add);
    pageBar->addSpacing(24);
    pageBar->addWidget(test);
    pageBar->addStretch();
    right->addLayout(pageBar);
    connect(previous, &QPushButton::clicked, this, [this] { showPage(m_session.deck().currentPage() - 1); });
    connect(next, &QPushButton::clicked, this, [this] { showPage(m_session.deck().currentPage() + 1); });
    connect(add, &QPushButton::clicked, this, &MainWindow::addPage);
    connect(test, &QPushButton::clicked, this, [this] {
        if (m_selected >= 0)
            m_gate->press(m_selected);
    });

    m_multiEditor = new MultiActionEditor(central);
    m_multiEditor->hide();
    right->addWidget(m_multiEditor, 0, Qt::AlignHCenter);
    connect(m_multiEditor, &MultiActionEditor::edited, this,
            [this](int slot, const QJsonObject& entry, const QString& text) { pushEntry(slot, entry, text); });
    connect(m_multiEditor, &MultiActionEditor::stepSelected, this, &MainWindow::showStep);
    connect(m_multiEditor, &MultiActionEditor::addActionRequested, this, &MainWindow::addChosenAction);
    connect(m_multiEditor, &MultiActionEditor::refused, this, &MainWindow::showStatus);

    m_inspectorArea = new QWidget(central);
    m_inspectorArea->setFixedSize(kInspectorWidth, kInspectorHeight);
    m_inspectorArea->setStyleSheet(QStringLiteral("background-color: rgb(40,40,40);"));
    m_hint = new QLabel(m_inspectorArea);
    m_hint->setObjectName(QStringLiteral("hint"));
    m_hint->setGeometry(m_inspectorArea->rect().adjusted(24, 24, -24, -24));
    m_hint->setAlignment(Qt::AlignCenter);
    m_hint->setWordWrap(true);
    right->addWidget(m_inspectorArea, 0, Qt::AlignHCenter);
    columns->addLayout(right, 1);
    setCentralWidget(central);

    buildCategoryList();
    connect(m_categories, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        assign(m_selected < 0 ? 0 : m_selected, item->data(CategoryList::kCategoryRole).toString());
    });
    buildMenus();
    buildDeck();
    connect(&m_session, &HostSession::deckReplaced, this, &MainWindow::buildDeck);
    connect(&m_session, &HostSession::problemFound, this, [this](const QString& problem) { showProblems({problem}); });
}

MainWindow::~MainWindow()
{
    delete m_deckWindow;
    // The actions own their widgets: hand every one back before the window goes.
    detachInspector();
    for (KeyCell* cell : std::as_const(m_cells))
        cell->setFace(nullptr);
}

void MainWindow::buildMenus()
{
    QMenu* profile = menuBar()->addMenu(tr("&Profile"));
    m_profilesMenu = profile->addMenu(tr("&Switch to"));
    connect(m_profilesMenu, &QMenu::aboutToShow, this, &MainWindow::updateProfilesMenu);
    profile->addAction(tr("&New profile..."), this, [this] {
        const QString name = QInputDialog::getText(this, tr("New profile"), tr("Name of the new profile:"));
        QString error;
        if (!name.isEmpty() && !createProfile(name, &error))
            QMessageBox::warning(this, tr("New profile"), error);
    });
    profile->addAction(tr("&Import..."), this, [this] {
        const QString file = QFileDialog::getOpenFileName(this, tr("Import profile"), QDir::homePath(), tr("Profiles (*.json)"));
        QString error;
        if (!file.isEmpty() && !importProfile(file, &error))
            QMessageBox::warning(this, tr("Import profile"), error);
    });
    profile->addAction(tr("&Export..."), this, [this] {
        const QString file = QFileDialog::getSaveFileName(this, tr("Export profile"), QDir::homePath(), tr("Profiles (*.json)"));
        QString error;
        if (!file.isEmpty() && !exportProfile(file, &error))
            QMessageBox::warning(this, tr("Export profile"), error);
    });
    profile->addSeparator();
    profile->addAction(tr("&Quit"), QKeySequence::Quit, this, &QWidget::close);

    QMenu* edit = menuBar()->addMenu(tr("&Edit"));
    QAction* undo = m_undo.createUndoAction(this, tr("&Undo"));
    undo->setShortcut(QKeySequence::Undo);
    QAction* redo = m_undo.createRedoAction(this, tr("&Redo"));
    redo->setShortcut(QKeySequence::Redo);
    edit->addAction(undo);
    edit->addAction(redo);
    edit->addSeparator();
    const auto deckAction = [this, edit](const QString& text, const QKeySequence& keys, auto slot) {
        QAction* action = edit->addAction(text, this, slot);
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        m_deckActions << action;
    };
    deckAction(tr("Cu&t key"), QKeySequence::Cut, [this] {
        copySelected();
        removeSelected();
    });
    deckAction(tr("&Copy key"), QKeySequence::Copy, [this] { copySelected(); });
    deckAction(tr("&Paste key"), QKeySequence::Paste, [this] { pasteToSelected(); });
    deckAction(tr("&Remove key"), QKeySequence::Delete, [this] { removeSelected(); });

    QMenu* pages = menuBar()->addMenu(tr("P&age"));
    pages->addAction(tr("&Previous page"), QKeySequence(Qt::CTRL | Qt::Key_PageUp), this,
                     [this] { showPage(m_session.deck().currentPage() - 1); });
    pages->addAction(tr("&Next page"), QKeySequence(Qt::CTRL | Qt::Key_PageDown), this,
                     [this] { showPage(m_session.deck().currentPage() + 1); });
    pages->addAction(tr("&Add page"), this, &MainWindow::addPage);
    pages->addAction(tr("&Remove this page"), this, &MainWindow::removeCurrentPage);
    pages->addAction(tr("Page a&pplications..."), this, [this] {
        PageAppsDialog dialog(m_session.deck(), m_session.deck().currentPage(), findChild<PageFollower*>()->source(), this);
        dialog.exec();
    });

    QMenu* view = menuBar()->addMenu(tr("&View"));
    m_deckWindowAction = view->addAction(tr("&Deck window"), this, &MainWindow::showDeckWindow);
    m_deckWindowAction->setCheckable(true);
    m_deckWindowAction->setToolTip(tr("The deck alone, in a window that leaves the keyboard focus where it is"));
}

void MainWindow::removeCurrentPage()
{
    Deck& deck = m_session.deck();
    if (deck.pageCount() <= 1) {
        showStatus(tr("The only page cannot be removed"));
        return;
    }
    const QJsonArray keys = deck.pageData(deck.currentPage()).value("keys").toArray();
    if (!keys.isEmpty() && m_confirmReplace
        && QMessageBox::question(this, tr("Remove page"), tr("Remove this page and its %n key(s)?", nullptr, int(keys.size())))
               != QMessageBox::Yes)
        return;
    m_undo.push(new PageCommand(deck, deck.currentPage(), tr("Remove page")));
    showStatus(tr("Page removed; Undo brings it back"));
}

void MainWindow::buildDeck()
{
    detachInspector();
    for (KeyCell* cell : std::as_const(m_cells))
        cell->setFace(nullptr);
    m_cells.clear();
    m_undo.clear();
    m_selected = -1;
    delete m_deckView;
    m_deckView = new QWidget;
    m_deckView->setObjectName(QStringLiteral("deckView"));
    auto* grid = new QGridLayout(m_deckView);
    grid->setSpacing(6);
    grid->setSizeConstraint(QLayout::SetFixedSize);
    Deck& deck = m_session.deck();
    for (int slot = 0; slot < deck.slotCount(); ++slot) {
        auto* cell = new KeyCell(slot, m_deckView);
        grid->addWidget(cell, slot / deck.columns(), slot % deck.columns());
        connect(cell, &KeyCell::selected, this, &MainWindow::select);
        connect(cell, &KeyCell::pressed, m_gate, &PressGate::down);
        connect(cell, &KeyCell::released, m_gate, &PressGate::up);
        connect(cell, &KeyCell::categoryDropped, this, &MainWindow::assign);
        connect(cell, &KeyCell::keyDropped, this, &MainWindow::moveKey);
        connect(cell, &KeyCell::contextMenuRequested, this, [this](int, const QPoint& at) {
            QMenu menu(this);
            menu.addActions(m_deckActions);
            menu.exec(at);
        });
        m_cells << cell;
    }
    m_deckView->addActions(m_deckActions);
    m_deckScroll->setWidget(m_deckView);
    // Room for the whole deck at first, within reason; a larger one scrolls.
    const QSize deckSize = m_deckView->sizeHint();
    m_deckScroll->setMinimumSize(qMin(deckSize.width() + 4, 1200), qMin(deckSize.height() + 4, 600));
    connect(&deck, &Deck::slotChanged, this, &MainWindow::refresh);
    connect(&deck, &Deck::settingsReported, this, &MainWindow::refreshSnapshot);
    connect(&deck, &Deck::pageChanged, this, &MainWindow::refreshPage);
    connect(&deck, &Deck::pageAppsChanged, this, &MainWindow::refreshPage);
    connect(&deck, &Deck::runStepFinished, this, &MainWindow::refreshSnapshot);
    connect(&deck, &Deck::runFinished, this, &MainWindow::refreshSnapshot);
    connect(&deck, &Deck::runStepFailed, this, [this](int, int step, const QString& why) {
        showStatus(tr("Step %1 could not run (%2); the other steps run").arg(step + 1).arg(why));
    });
    refreshPage();
    updateTitle();
}

void MainWindow::buildCategoryList()
{
    QMap<QString, QString> names;
    QMap<QString, QIcon> icons;
    for (const QJsonValue& node : m_session.packageList().value("subnode").toArray()) {
        const QString category = node["category"].toString();
        const QString title = actionName(category);
        const QIcon icon(node["menu_icon"].toString());
        auto* item = new QListWidgetItem(icon, title, m_categories);
        item->setData(CategoryList::kCategoryRole, category);
        item->setToolTip(category);
        // Every action of the package can be a step; one that says it cannot is left out.
        if (node["supportMultiAction"].toBool(true)) {
            names.insert(category, title);
            icons.insert(category, icon);
        }
    }
    m_multiEditor->setActions(names, icons);
    // The host's own key: several of the actions above, one after another.
    auto* multi = new QListWidgetItem(multiActionIcon(), actionName(QLatin1String(MultiAction::kCategory)), m_categories);
    multi->setData(CategoryList::kCategoryRole, QLatin1String(MultiAction::kCategory));
    multi->setToolTip(tr("A key that runs several actions in order, with delays between them"));
}

void MainWindow::updateTitle()
{
    const QMap<QString, QString> named = m_session.namedProfiles();
    const QString name = named.key(m_session.profile().path(), QFileInfo(m_session.profile().path()).completeBaseName());
    // The banner says why a profile is read-only; the title keeps saying that it is.
    const QString shown = m_session.profile().writable() ? name : tr("%1 (read-only)").arg(name);
    setWindowTitle(QStringLiteral("vanta-host — %1 — %2 %3")
                       .arg(shown, m_session.packageList().value("category").toString(), m_session.versionName()));
}

void MainWindow::updateProfilesMenu()
{
    m_profilesMenu->clear();
    const QMap<QString, QString> named = m_session.namedProfiles();
    for (auto it = named.cbegin(); it != named.cend(); ++it) {
        QAction* action = m_profilesMenu->addAction(it.key());
        action->setCheckable(true);
        action->setChecked(it.value() == m_session.profile().path());
        const QString path = it.value();
        connect(action, &QAction::triggered, this, [this, path] { switchProfile(path); });
    }
}

void MainWindow::showProblems(const QStringList& problems)
{
    if (problems.isEmpty())
        return;
    QStringList lines = m_bannerBox->isVisible() ? m_banner->text().split(QLatin1Char('\n')) : QStringList();
    lines += problems;
    if (lines.size() > kBannerLines) {
        const qsizetype more = lines.size() - kBannerLines;
        lines = lines.mid(0, kBannerLines);
        lines << tr("... and %1 more (see the log)").arg(more);
    }
    m_banner->setText(lines.join(QLatin1Char('\n')));
    m_bannerBox->show();
}

QString MainWindow::bannerText() const
{
    return m_bannerBox->isVisibleTo(const_cast<MainWindow*>(this)) ? m_banner->text() : QString();
}

void MainWindow::showStatus(const QString& message)
{
    statusBar()->showMessage(message, 8000);
}

void MainWindow::watchUrls(UrlCatcher& urls, bool launch)
{
    connect(&urls, &UrlCatcher::opened, this, [this, launch](const QString& url) {
        showStatus(launch ? tr("Opening %1").arg(url) : tr("Would open %1 (--no-launch)").arg(url));
    });
    connect(&urls, &UrlCatcher::launched, this, [this](const QString& url) { showStatus(tr("Opened %1").arg(url)); });
    connect(&urls, &UrlCatcher::failed, this, [this](const QString& url, const QString& why) {
        showStatus(url.trimmed().isEmpty() ? tr("Nothing opened: %1").arg(why) : tr("Could not open %1: %2").arg(url, why));
    });
}

QString MainWindow::inspectorHint() const
{
    return m_hint->isVisibleTo(m_inspectorArea) ? m_hint->text() : QString();
}

void MainWindow::refresh(int slot)
{
    if (slot < 0 || slot >= m_cells.size())
        return;
    if (slot == m_selected)
        detachInspector();
    Deck& deck = m_session.deck();
    const bool faceElsewhere = m_deckWindow && m_deckWindow->isVisible();
    m_cells[slot]->setFace(faceElsewhere ? nullptr : deck.face(slot));
    m_cells[slot]->setProblem(deck.category(slot), deck.problem(slot));
    refreshSnapshot(slot);
    if (slot == m_selected)
        select(slot);
}

// While the deck window shows the faces, the editor's keys show pictures of them.
void MainWindow::refreshSnapshot(int slot)
{
    if (slot < 0 || slot >= m_cells.size())
        return;
    QWidget* face = m_session.deck().face(slot);
    const bool faceElsewhere = m_deckWindow && m_deckWindow->isVisible();
    m_cells[slot]->setSnapshot(faceElsewhere && face ? face->grab() : QPixmap());
}

void MainWindow::pressFailed(int slot, const QString& why)
{
    showStatus(m_session.deck().entry(slot).isEmpty() ? tr("This key is empty; there is nothing to press") : why);
}

void MainWindow::showDeckWindow(bool show)
{
    if (show && !m_deckWindow) {
        m_deckWindow = new DeckWindow(m_session, *m_gate);
        connect(m_deckWindow, &DeckWindow::closed, this, [this] {
            m_deckWindowAction->setChecked(false);
            QMetaObject::invokeMethod(this, &MainWindow::refreshPage, Qt::QueuedConnection);  // the faces come back
        });
    }
    if (!m_deckWindow)
        return;
    if (show) {
        for (KeyCell* cell : std::as_const(m_cells))
            cell->setFace(nullptr);
        m_deckWindow->show();
        refreshPage();
    } else {
        m_deckWindow->close();
    }
    m_deckWindowAction->setChecked(show);
}

void MainWindow::refreshPage()
{
    for (int slot = 0; slot < m_cells.size(); ++slot)
        refresh(slot);
    const Deck& deck = m_session.deck();
    QString label = tr("Page %1 of %2").arg(deck.currentPage() + 1).arg(deck.pageCount());
    if (deck.unplacedCount() > 0)
        label += tr(" (%n key(s) not shown)", nullptr, deck.unplacedCount());
    const QStringList apps = AppMatch::fromPage(deck.pageSettings(deck.currentPage())).apps();
    if (!apps.isEmpty())
        label += tr(", for %1").arg(apps.join(QStringLiteral(", ")));
    m_pageLabel->setText(label);
    select(m_selected < 0 || m_selected >= m_cells.size() ? 0 : m_selected);
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
    if (slot < 0 || slot >= m_cells.size())
        return;
    detachInspector();
    if (m_selected >= 0 && m_selected < m_cells.size())
        m_cells[m_selected]->setSelected(false);
    m_selected = slot;
    m_cells[slot]->setSelected(true);
    const Deck& deck = m_session.deck();
    if (MultiAction* multi = deck.multiAction(slot)) {
        m_multiEditor->showKey(multi, slot);
        m_multiEditor->show();
        showStep(m_multiEditor->currentStep());
        return;
    }
    m_multiEditor->hide();
    m_multiEditor->showKey(nullptr, -1);
    host::ActionInterface* action = deck.action(slot);
    if (action) {
        showInspector(action->propertyWidget());
        return;
    }
    showHint(deck.problem(slot).isEmpty()
                 ? tr("This key is empty. Drag an action from the list on the left onto it, "
                      "or double-click an action to put it here.")
                 : tr("This key cannot be loaded: %1.\nIt stays in the profile as it is; "
                      "Delete removes it.").arg(deck.problem(slot)));
}

void MainWindow::showInspector(QWidget* inspector)
{
    m_inspector = inspector;
    if (!m_inspector)
        return;
    m_hint->hide();
    m_inspector->setParent(m_inspectorArea);
    m_inspector->move(0, 0);
    m_inspector->show();
    connectIconBuilder(m_inspector);
}

void MainWindow::showHint(const QString& hint)
{
    m_hint->setText(hint);
    m_hint->show();
}

// The selected step of a multi-action key: its action's inspector, locked to the
// step's settings, or what the step is.
void MainWindow::showStep(int index)
{
    detachInspector();
    const MultiAction* multi = m_multiEditor->multiAction();
    if (!multi)
        return;
    if (index < 0 || index >= multi->stepCount()) {
        showHint(tr("This multi-action has no steps yet. Drag actions from the list on the left onto its "
                    "steps, or choose one there and press \"Add action\"; \"Add delay\" adds a pause."));
        return;
    }
    const MultiAction::Step& step = multi->step(index);
    if (step.action) {
        showInspector(step.action->propertyWidget());
        return;
    }
    if (!step.problem.isEmpty()) {
        showHint(tr("Step %1 cannot run: %2.\nIt stays in the profile as it is and is skipped when the key "
                    "runs; \"Remove step\" removes it.").arg(index + 1).arg(step.problem));
        return;
    }
    showHint(tr("A delay: the next step starts %1 ms after the one before ends. Change it in the field "
                "beside the steps.").arg(step.delayMs));
}

// "Add action" in the multi-action editor: the action chosen in the list on the left.
void MainWindow::addChosenAction(int index)
{
    QListWidgetItem* item = m_categories->currentItem();
    if (!item) {
        showStatus(tr("Choose an action in the list on the left first"));
        return;
    }
    m_multiEditor->addAction(item->data(CategoryList::kCategoryRole).toString(), index);
}

// An inspector asks for the host's icon builder through its buildIcon() signal; the
// outermost widget that has the signal forwards those of the widgets inside it.
void MainWindow::connectIconBuilder(QWidget* inspector)
{
    QList<QObject*> candidates{inspector};
    for (QWidget* child : inspector->findChildren<QWidget*>())
        candidates << child;
    for (QObject* object : std::as_const(candidates)) {
        if (object->metaObject()->indexOfSignal("buildIcon()") < 0)
            continue;
        // Queued: the builder opens once the inspector's icon menu has closed.
        QObject::connect(object, SIGNAL(buildIcon()), this, SLOT(openIconBuilder()),
                         Qt::ConnectionType(Qt::QueuedConnection | Qt::UniqueConnection));
        return;
    }
}

void MainWindow::openIconBuilder()
{
    if (!m_inspector)
        return;
    HostIconBuilder builder(this);
    builder.setText(m_session.deck().category(m_selected).section(QLatin1Char('.'), -1).left(6).toUpper());
    if (builder.exec() != QDialog::Accepted)
        return;
    QString error;
    const QString path = builder.save(m_session.options().configDir, &error);
    if (path.isEmpty() || !IconPicker::pick(m_inspector, path, &error)) {
        showStatus(error);
        return;
    }
    showStatus(tr("New icon from the icon builder"));
}

bool MainWindow::mayReplace(int slot)
{
    if (m_session.deck().entry(slot).isEmpty() || !m_confirmReplace)
        return true;
    return QMessageBox::question(this, tr("Replace key"), replaceQuestion(slot)) == QMessageBox::Yes;
}

QString MainWindow::replaceQuestion(int slot) const
{
    return tr("This key already holds \"%1\". Replace it? (Undo brings it back.)")
        .arg(actionName(m_session.deck().category(slot)));
}

// The name the action list shows for `category`; the category itself for an action the
// package does not have.
QString MainWindow::actionName(const QString& category) const
{
    if (category == QLatin1String(MultiAction::kCategory))
        return tr("Multi Action");
    for (const QJsonValue& node : m_session.packageList().value("subnode").toArray()) {
        if (node["category"].toString() != category)
            continue;
        const QString titleKey = node["title"].toString();
        const QString title = m_session.titles().value(titleKey);
        return title.isEmpty() || title == titleKey ? node["subtitle"].toString() : title;
    }
    return category;
}

void MainWindow::pushEntry(int slot, const QJsonObject& entry, const QString& text)
{
    m_undo.push(DeckCommand::put(m_session.deck(), slot, entry, text));
    select(slot);
    const QString problem = m_session.deck().problem(slot);
    if (!problem.isEmpty())
        showStatus(problem);
}

void MainWindow::assign(int slot, const QString& category)
{
    if (slot < 0 || slot >= m_cells.size() || !mayReplace(slot))
        return;
    if (category == QLatin1String(MultiAction::kCategory)) {
        pushEntry(slot, MultiAction::newEntry(slot, Deck::newTarget(), actionName(category)), tr("Assign key"));
        return;
    }
    pushEntry(slot, {{"slot", slot}, {"category", category}, {"target", Deck::newTarget()}}, tr("Assign key"));
}

void MainWindow::removeSelected()
{
    if (m_selected < 0 || m_session.deck().entry(m_selected).isEmpty())
        return;
    pushEntry(m_selected, {}, tr("Remove key"));
    showStatus(tr("Key removed; Undo brings it back"));
}

void MainWindow::copySelected()
{
    const QJsonObject entry = m_selected < 0 ? QJsonObject() : m_session.deck().entry(m_selected);
    if (entry.isEmpty())
        return;
    auto* data = new QMimeData;
    const QByteArray bytes = QJsonDocument(entry).toJson(QJsonDocument::Compact);
    data->setData(QLatin1String(kKeyMime), bytes);
    data->setText(QString::fromUtf8(bytes));
    QApplication::clipboard()->setMimeData(data);
}

void MainWindow::pasteToSelected()
{
    const QMimeData* data = QApplication::clipboard()->mimeData();
    if (m_selected < 0 || !data || !data->hasFormat(QLatin1String(kKeyMime)))
        return;
    QJsonObject entry = QJsonDocument::fromJson(data->data(QLatin1String(kKeyMime))).object();
    if (entry.isEmpty() || !mayReplace(m_selected))
        return;
    // A copy is a key of its own, and so is each step of a multi-action.
    if (MultiAction::isMultiAction(entry))
        entry = MultiAction::withNewTargets(entry, &Deck::newTarget);
    else
        entry.insert("target", Deck::newTarget());
    pushEntry(m_selected, entry, tr("Paste key"));
}

void MainWindow::moveKey(int from, int to)
{
    Deck& deck = m_session.deck();
    if (from == to || deck.entry(from).isEmpty() || to < 0 || to >= deck.slotCount())
        return;
    m_undo.push(DeckCommand::move(deck, from, to));
    select(to);
}

void MainWindow::showPage(int page)
{
    Deck& deck = m_session.deck();
    if (page < 0) {
        showStatus(tr("This is the first page"));
        return;
    }
    if (page >= deck.pageCount()) {
        showStatus(tr("This is the last page; \"Add page\" adds another"));
        return;
    }
    if (page == deck.currentPage())
        return;
    BusyCursor busy;
    QString error;
    if (!deck.setCurrentPage(page, &error))
        showStatus(error);
}

void MainWindow::addPage()
{
    const int page = m_session.deck().addPage();
    if (page < 0) {
        showStatus(tr("No more pages can be added"));
        return;
    }
    showPage(page);
}

bool MainWindow::switchProfile(const QString& path)
{
    if (path == m_session.profile().path())
        return true;
    BusyCursor busy;
    m_bannerBox->hide();
    QStringList problems;
    m_session.openProfile(path, &problems);
    showProblems(problems);
    showStatus(tr("Profile %1").arg(path));
    return true;
}

bool MainWindow::createProfile(const QString& name, QString* error)
{
    if (!QRegularExpression(QStringLiteral("^[\\w][\\w .-]{0,63}$")).match(name).hasMatch() || name == QLatin1String("Default")) {
        *error = tr("A profile name has letters, digits, spaces, dots and dashes, up to 64.");
        return false;
    }
    const QString path = QDir(m_session.profilesFolder()).filePath(name + QStringLiteral(".json"));
    if (QFileInfo::exists(path)) {
        *error = tr("A profile named %1 exists already.").arg(name);
        return false;
    }
    QDir().mkpath(m_session.profilesFolder());
    const Deck& deck = m_session.deck();
    ProfileStore store(path);
    const QJsonObject empty{{"version", 2}, {"grid", QJsonObject{{"columns", deck.columns()}, {"rows", deck.rows()}}},
                            {"page", 0}, {"pages", QJsonArray{QJsonObject{{"keys", QJsonArray()}}}}};
    if (!store.save(empty, error))
        return false;
    return switchProfile(path);
}

bool MainWindow::importProfile(const QString& file, QString* error)
{
    QString why;
    const QByteArray bytes = ProfileStore::readRegularFile(file, ProfileStore::kMaxBytes, &why);
    if (why.isEmpty())
        ProfileStore::parse(bytes, &why);
    if (!why.isEmpty()) {
        *error = tr("%1 cannot be imported: %2").arg(file, why);
        return false;
    }
    QDir().mkpath(m_session.profilesFolder());
    QString base = QDir(m_session.profilesFolder()).filePath(QFileInfo(file).completeBaseName());
    QString path = base + QStringLiteral(".json");
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = base + QStringLiteral("-%1.json").arg(n);
    if (!ProfileStore::writeFile(path, bytes, &why)) {
        *error = tr("cannot write %1: %2").arg(path, why);
        return false;
    }
    return switchProfile(path);
}

bool MainWindow::exportProfile(const QString& file, QString* error)
{
    QString why;
    const QByteArray bytes = ProfileStore::encode(m_session.deck().profile(), &why);
    if (bytes.isEmpty() || !ProfileStore::writeFile(file, bytes, &why)) {
        *error = tr("cannot write %1: %2").arg(file, why);
        return false;
    }
    showStatus(tr("Profile exported to %1").arg(file));
    return true;
}
