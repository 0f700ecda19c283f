#include "pageappsdialog.h"

#include "appmatch.h"
#include "deck.h"
#include "focussource.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

PageAppsDialog::PageAppsDialog(Deck& deck, int page, FocusSource* source, QWidget* parent)
    : QDialog(parent)
    , m_deck(deck)
    , m_page(page)
{
    setWindowTitle(tr("Applications of page %1").arg(page + 1));
    auto* layout = new QVBoxLayout(this);
    auto* intro = new QLabel(tr("The deck shows this page while one of these applications has the focus:"), this);
    intro->setWordWrap(true);
    layout->addWidget(intro);
    m_programs = new QListWidget(this);
    m_programs->setObjectName(QStringLiteral("programs"));
    layout->addWidget(m_programs);
    auto* otherRow = new QHBoxLayout;
    m_other = new QLineEdit(this);
    m_other->setObjectName(QStringLiteral("otherProgram"));
    m_other->setPlaceholderText(tr("Another program or app id"));
    auto* add = new QPushButton(tr("Add"), this);
    otherRow->addWidget(m_other);
    otherRow->addWidget(add);
    layout->addLayout(otherRow);
    auto* form = new QFormLayout;
    m_titles = new QLineEdit(this);
    m_titles->setObjectName(QStringLiteral("titles"));
    m_titles->setPlaceholderText(tr("Any title; or, say, *.cpp*, *Mail*"));
    m_titles->setToolTip(tr("Window titles, comma-separated; * stands for any text, ? for one character"));
    form->addRow(tr("Only windows titled:"), m_titles);
    layout->addLayout(form);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);

    const AppMatch stored = AppMatch::fromPage(deck.pageSettings(page));
    for (const QString& app : stored.apps())
        check(app);
    m_titles->setText(stored.titles().join(QStringLiteral(", ")));

    connect(add, &QPushButton::clicked, this, [this] {
        check(m_other->text().trimmed());
        m_other->clear();
    });
    connect(m_other, &QLineEdit::returnPressed, add, &QPushButton::click);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        QString error;
        if (apply(&error))
            accept();
        else
            QMessageBox::warning(this, windowTitle(), error);
    });
    if (source) {
        connect(source, &FocusSource::programsListed, this, &PageAppsDialog::offer);
        source->listPrograms();
    }
}

void PageAppsDialog::offer(const QStringList& programs)
{
    for (const QString& program : programs) {
        if (m_programs->findItems(program, Qt::MatchFixedString).isEmpty()) {
            auto* item = new QListWidgetItem(program, m_programs);
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
            item->setCheckState(Qt::Unchecked);
        }
    }
}

void PageAppsDialog::check(const QString& program)
{
    if (program.isEmpty())
        return;
    offer({program});
    for (QListWidgetItem* item : m_programs->findItems(program, Qt::MatchFixedString))
        item->setCheckState(Qt::Checked);
}

QStringList PageAppsDialog::apps() const
{
    QStringList checked;
    for (int row = 0; row < m_programs->count(); ++row) {
        if (m_programs->item(row)->checkState() == Qt::Checked)
            checked << m_programs->item(row)->text();
    }
    return checked;
}

QStringList PageAppsDialog::titles() const
{
    QStringList patterns;
    for (const QString& pattern : m_titles->text().split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        if (!pattern.trimmed().isEmpty())
            patterns << pattern.trimmed();
    }
    return patterns;
}

bool PageAppsDialog::apply(QString* error)
{
    QStringList apps;
    QStringList titles;
    // The same limits as a profile's.
    if (!AppMatch::readNames(QJsonArray::fromStringList(this->apps()), "apps", &apps, error)
        || !AppMatch::readNames(QJsonArray::fromStringList(this->titles()), "titles", &titles, error))
        return false;
    return m_deck.setPageApps(m_page, apps, titles, error);
}
