#include "multiactioneditor.h"

#include "deck.h"
#include "iconpicker.h"
#include "multiaction.h"
#include "steplist.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QJsonDocument>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {
constexpr int kWidth = 824;
constexpr int kListHeight = 144;  // six steps without scrolling
const QColor kRunningRow(110, 70, 0);
const QColor kFaultyRow(240, 120, 110);
const QSize kRowIcon(30, 21);

// Row pictures of the host's own: a clock for a delay, a red mark for a step that cannot run.
QIcon rowIcon(bool delay)
{
    QPixmap pixmap(kRowIcon);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF dial(8, 2, 16, 16);
    if (delay) {
        painter.setPen(QPen(QColor(0xFF, 0x99, 0x00), 1.6));
        painter.drawEllipse(dial);
        painter.drawLine(dial.center(), dial.center() + QPointF(0, -5.5));
        painter.drawLine(dial.center(), dial.center() + QPointF(4, 0));
    } else {
        painter.setPen(Qt::NoPen);
        painter.setBrush(kFaultyRow);
        painter.drawEllipse(dial);
        painter.setPen(Qt::black);
        QFont font = painter.font();
        font.setPixelSize(12);
        font.setBold(true);
        painter.setFont(font);
        painter.drawText(dial, Qt::AlignCenter, QStringLiteral("!"));
    }
    return QIcon(pixmap);
}

// Keys every action's settings have; the summary leaves them out.
const char* const kSharedKeys[] = {"version", "titlelist", "iconlist", "actionTitle", "displayView"};

QString oneLine(const QJsonValue& value)
{
    QString text;
    if (value.isString())
        text = value.toString();
    else if (value.isObject())
        text = QString::fromUtf8(QJsonDocument(value.toObject()).toJson(QJsonDocument::Compact));
    else if (value.isArray())
        text = QString::fromUtf8(QJsonDocument(value.toArray()).toJson(QJsonDocument::Compact));
    else
        text = value.toVariant().toString();
    return text.replace(QLatin1Char('\n'), QChar(0x23CE));
}
} // namespace

MultiActionEditor::MultiActionEditor(QWidget* parent)
    : QWidget(parent)
{
    build();
}

MultiActionEditor::~MultiActionEditor() = default;

void MultiActionEditor::build()
{
    setObjectName(QStringLiteral("multiActionEditor"));
    setFixedWidth(kWidth);
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(QStringLiteral(
        "QWidget#multiActionEditor { background-color: rgb(40,40,40); }"
        "QLabel { color: rgb(161,161,161); }"
        "QLineEdit, QSpinBox { background-color: #1E1E1E; color: white; border: 1px solid #1E1E1E;"
        " border-radius: 3px; padding: 2px 5px; }"
        "QLineEdit:focus, QSpinBox:focus { border: 1px solid #FF9900; }"
        "QListWidget { background-color: #1E1E1E; color: rgb(220,220,220); }"
        "QListWidget::item:selected { background-color: rgb(70,70,70); color: white; }"));
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(8, 6, 8, 6);
    outer->setSpacing(4);

    auto* top = new QHBoxLayout;
    m_title = new QLineEdit(this);
    m_title->setObjectName(QStringLiteral("multiTitle"));
    m_title->setPlaceholderText(tr("Title of the key"));
    m_title->setMaxLength(64);
    m_title->setFixedWidth(240);
    auto* icon = new QPushButton(tr("Icon..."), this);
    icon->setObjectName(QStringLiteral("multiIcon"));
    m_noIcon = new QPushButton(tr("No icon"), this);
    m_noIcon->setObjectName(QStringLiteral("multiNoIcon"));
    auto* hint = new QLabel(tr("Drag actions onto the steps, steps to reorder"), this);
    top->addWidget(new QLabel(tr("Multi-action title"), this));
    top->addWidget(m_title);
    top->addWidget(icon);
    top->addWidget(m_noIcon);
    top->addStretch();
    top->addWidget(hint);
    outer->addLayout(top);

    auto* body = new QHBoxLayout;
    m_list = new StepList(this);
    m_list->setObjectName(QStringLiteral("multiSteps"));
    m_list->setFixedHeight(kListHeight);
    body->addWidget(m_list, 1);
    auto* buttons = new QVBoxLayout;
    auto* add = new QPushButton(tr("Add action"), this);
    add->setObjectName(QStringLiteral("addStep"));
    add->setToolTip(tr("Adds the action chosen in the list on the left after the selected step"));
    auto* addDelayButton = new QPushButton(tr("Add delay"), this);
    addDelayButton->setObjectName(QStringLiteral("addDelay"));
    m_remove = new QPushButton(tr("Remove step"), this);
    m_remove->setObjectName(QStringLiteral("removeStep"));
    m_delay = new QSpinBox(this);
    m_delay->setObjectName(QStringLiteral("delayMs"));
    m_delay->setRange(0, MultiAction::kMaxDelayMs);
    m_delay->setSingleStep(100);
    m_delay->setSuffix(QStringLiteral(" ms"));
    m_delay->setKeyboardTracking(false);  // one edit when the number is entered, not per digit
    m_delay->setToolTip(delayName());
    buttons->addWidget(add);
    buttons->addWidget(addDelayButton);
    buttons->addWidget(m_remove);
    buttons->addWidget(m_delay);
    buttons->addStretch();
    body->addLayout(buttons);
    outer->addLayout(body);

    connect(m_title, &QLineEdit::editingFinished, this, [this] {
        if (m_multi && m_title->text() != m_multi->title())
            setTitle(m_title->text());
    });
    connect(icon, &QPushButton::clicked, this, &MultiActionEditor::chooseIcon);
    connect(m_noIcon, &QPushButton::clicked, this, [this] { setIcon(QString()); });
    connect(m_list, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row < 0 || row == m_current)
            return;
        m_current = row;
        updateControls();
        emit stepSelected(row);
    });
    connect(m_list, &StepList::categoryDropped, this, [this](int row, const QString& category) { addAction(category, row); });
    connect(m_list, &StepList::stepDropped, this, &MultiActionEditor::moveStep);
    connect(add, &QPushButton::clicked, this, [this] { emit addActionRequested(m_list->count() ? m_current + 1 : 0); });
    connect(addDelayButton, &QPushButton::clicked, this, [this] { addDelay(kDefaultDelayMs, m_list->count() ? m_current + 1 : 0); });
    connect(m_remove, &QPushButton::clicked, this, [this] { removeStep(m_current); });
    auto* removeKey = new QShortcut(QKeySequence::Delete, m_list);
    removeKey->setContext(Qt::WidgetShortcut);
    connect(removeKey, &QShortcut::activated, this, [this] { removeStep(m_current); });
    connect(m_delay, &QSpinBox::valueChanged, this, [this](int ms) { setDelay(m_current, ms); });
}

void MultiActionEditor::setActions(const QMap<QString, QString>& names, const QMap<QString, QIcon>& icons)
{
    m_names = names;
    m_icons = icons;
}

void MultiActionEditor::showKey(MultiAction* multi, int slot)
{
    for (const QMetaObject::Connection& connection : std::as_const(m_keyConnections))
        disconnect(connection);
    m_keyConnections.clear();
    if (slot != m_slot || !multi)
        m_current = 0;
    m_multi = multi;
    m_slot = multi ? slot : -1;
    if (multi) {
        m_keyConnections << connect(multi, &MultiAction::stepStarted, this, [this](int index) { markRunning(index, true); })
                         << connect(multi, &MultiAction::stepFinished, this, [this](int index) { markRunning(index, false); })
                         << connect(multi, &MultiAction::settingsReported, this, &MultiActionEditor::retext);
    }
    refill();
}

void MultiActionEditor::refill()
{
    const QSignalBlocker quiet(m_list);
    m_list->clear();
    if (!m_multi)
        return;
    {
        const QSignalBlocker quietTitle(m_title);
        m_title->setText(m_multi->title());
    }
    m_noIcon->setEnabled(!m_multi->entry().value("icon").toString().isEmpty());
    for (int i = 0; i < m_multi->stepCount(); ++i) {
        const MultiAction::Step& step = m_multi->step(i);
        const QString category = step.stored.toObject().value("category").toString();
        const QIcon icon = !step.problem.isEmpty() ? rowIcon(false) : step.action ? m_icons.value(category) : rowIcon(true);
        auto* item = new QListWidgetItem(icon, stepText(i), m_list);
        item->setToolTip(step.problem.isEmpty() ? stepText(i) : step.problem);
        if (!step.problem.isEmpty())
            item->setForeground(kFaultyRow);
    }
    m_current = m_list->count() ? qBound(0, m_current, m_list->count() - 1) : 0;
    if (m_list->count())
        m_list->setCurrentRow(m_current);
    if (m_multi->isRunning())
        markRunning(m_multi->currentStep(), true);
    updateControls();
}

// A step's settings changed in its inspector: its line says so.
void MultiActionEditor::retext()
{
    for (int i = 0; i < m_list->count(); ++i) {
        m_list->item(i)->setText(stepText(i));
        m_list->item(i)->setToolTip(m_multi && !m_multi->step(i).problem.isEmpty() ? m_multi->step(i).problem : stepText(i));
    }
}

void MultiActionEditor::markRunning(int index, bool running)
{
    QListWidgetItem* item = m_list->item(index);
    if (!item)
        return;
    item->setBackground(running ? QBrush(kRunningRow) : QBrush());
    QFont font = item->font();
    font.setBold(running);
    item->setFont(font);
}

void MultiActionEditor::updateControls()
{
    const bool any = m_multi && m_multi->stepCount() > 0;
    m_remove->setEnabled(any);
    const bool delay = any && m_current < m_multi->stepCount() && m_multi->step(m_current).stored.isDouble();
    m_delay->setEnabled(delay);
    const QSignalBlocker quiet(m_delay);
    m_delay->setValue(delay ? m_multi->step(m_current).stored.toInt() : 0);
}

void MultiActionEditor::selectStep(int index)
{
    if (index >= 0 && index < m_list->count())
        m_list->setCurrentRow(index);
}

QString MultiActionEditor::delayName() const
{
    // The package's translations name it; its translator is installed by the host.
    const char* const key = "LAB_MULTIACTION_DELAYTIME";
    const QString name = QCoreApplication::translate("WidgetPropertyDelay", key);
    return name == QLatin1String(key) ? tr("Delay") : name;
}

QString MultiActionEditor::stepText(int index) const
{
    if (!m_multi || index < 0 || index >= m_multi->stepCount())
        return {};
    const MultiAction::Step& step = m_multi->step(index);
    const QJsonObject stored = step.stored.toObject();
    const QString category = stored.value("category").toString();
    const QString name = step.stored.isDouble() ? delayName()
                       : step.stored.isObject() ? m_names.value(category, category.isEmpty() ? tr("Unknown action") : category)
                                                : tr("Unknown step");
    QString what;
    if (!step.problem.isEmpty())
        what = tr("cannot run: %1").arg(step.problem);
    else if (step.stored.isDouble())
        what = tr("%1 ms").arg(step.delayMs);
    else
        what = summary(stored);
    return QStringLiteral("%1. %2 \u2014 %3").arg(index + 1).arg(name, what);
}

QString MultiActionEditor::summary(const QJsonObject& step)
{
    QJsonObject settings = step.value("payload").toObject();
    if (settings.isEmpty())
        settings = step.value("preset").toObject();
    for (const char* key : kSharedKeys)
        settings.remove(QLatin1String(key));
    QStringList parts;
    for (auto it = settings.constBegin(); it != settings.constEnd(); ++it)
        parts << QStringLiteral("%1: %2").arg(it.key(), oneLine(it.value()));
    return parts.isEmpty() ? tr("default settings") : parts.join(QStringLiteral(", "));
}

void MultiActionEditor::chooseIcon()
{
    const QString path = QFileDialog::getOpenFileName(this, tr("Icon of the key"), QDir::homePath(),
                                                      tr("Pictures (*.png *.jpg *.jpeg *.gif *.bmp *.svg)"));
    if (path.isEmpty())
        return;
    QString error;
    if (!IconPicker::isPicture(path, &error)) {
        emit refused(error);
        return;
    }
    setIcon(path);
}

QJsonArray MultiActionEditor::steps() const
{
    return m_multi ? m_multi->entry().value("steps").toArray() : QJsonArray();
}

void MultiActionEditor::commitEntry(const QJsonObject& entry, const QString& text)
{
    emit edited(m_slot, entry, text);
}

void MultiActionEditor::commit(const QJsonArray& list, int current, const QString& text)
{
    QJsonObject entry = m_multi->entry();
    entry.insert("steps", list);
    m_current = qMax(0, current);
    commitEntry(entry, text);
}

void MultiActionEditor::addAction(const QString& category, int index)
{
    if (!m_multi)
        return;
    if (category == QLatin1String(MultiAction::kCategory)) {
        emit refused(tr("A multi-action cannot hold another multi-action"));
        return;
    }
    if (!m_names.contains(category)) {
        emit refused(tr("\"%1\" is no action of the package that can be a step").arg(category));
        return;
    }
    insertStep(QJsonObject{{"category", category}, {"target", Deck::newTarget()}}, index, tr("Add step"));
}

// Puts `step` at `index` (-1 or past the end: last), within the step limit.
void MultiActionEditor::insertStep(const QJsonValue& step, int index, const QString& text)
{
    QJsonArray list = steps();
    if (list.size() >= MultiAction::kMaxSteps) {
        emit refused(tr("A multi-action holds up to %1 steps").arg(MultiAction::kMaxSteps));
        return;
    }
    const int at = index < 0 || index > list.size() ? int(list.size()) : index;
    list.insert(at, step);
    commit(list, at, text);
}

void MultiActionEditor::addDelay(int ms, int index)
{
    if (!m_multi)
        return;
    insertStep(qBound(0, ms, MultiAction::kMaxDelayMs), index, tr("Add delay"));
}

void MultiActionEditor::removeStep(int index)
{
    QJsonArray list = steps();
    if (!m_multi || index < 0 || index >= list.size())
        return;
    list.removeAt(index);
    commit(list, qMin(index, int(list.size()) - 1), tr("Remove step"));
}

void MultiActionEditor::moveStep(int from, int to)
{
    QJsonArray list = steps();
    if (!m_multi || from == to || from < 0 || from >= list.size() || to < 0 || to >= list.size())
        return;
    const QJsonValue moved = list.takeAt(from);
    list.insert(to, moved);
    commit(list, to, tr("Move step"));
}

void MultiActionEditor::setDelay(int index, int ms)
{
    QJsonArray list = steps();
    if (!m_multi || index < 0 || index >= list.size() || !list.at(index).isDouble()
        || list.at(index).toDouble() == double(ms))
        return;
    if (ms < 0 || ms > MultiAction::kMaxDelayMs) {
        emit refused(tr("A delay is 0 to %1 ms").arg(MultiAction::kMaxDelayMs));
        return;
    }
    list[index] = ms;
    commit(list, index, tr("Change delay"));
}

void MultiActionEditor::setTitle(const QString& title)
{
    if (!m_multi)
        return;
    QJsonObject entry = m_multi->entry();
    entry.insert("title", title);
    commitEntry(entry, tr("Rename key"));
}

void MultiActionEditor::setIcon(const QString& path)
{
    if (!m_multi)
        return;
    QJsonObject entry = m_multi->entry();
    if (path.isEmpty())
        entry.remove("icon");
    else
        entry.insert("icon", path);
    commitEntry(entry, tr("Change icon"));
}
