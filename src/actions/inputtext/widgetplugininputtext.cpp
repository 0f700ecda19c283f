#include "widgetplugininputtext.h"

#include "plugininputtextpayload.h"
#include "ui_widgetplugininputtext.h"

#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>

namespace {
const QColor kPlaceholderColour(255, 255, 255, 100);
}

WidgetPluginInputText::WidgetPluginInputText(QWidget* parent)
    : ActionInspector(parent)
    , ui(std::make_unique<Ui::WidgetPluginInputText>())
{
    ui->setupUi(this);
    QPalette palette = ui->plainTextEditPluginInputText->palette();
    palette.setColor(QPalette::PlaceholderText, kPlaceholderColour);
    ui->plainTextEditPluginInputText->setPalette(palette);
    ui->plainTextEditPluginInputText->setAttribute(Qt::WA_MacShowFocusRect, false);
    setBase(ui->base);
    connect(ui->ckbPressEnter, &QCheckBox::stateChanged, this, &WidgetPluginInputText::onPressEnterChanged);
    connect(ui->plainTextEditPluginInputText, &QPlainTextEdit::textChanged, this,
            &WidgetPluginInputText::onTextChanged);
}

WidgetPluginInputText::~WidgetPluginInputText() = default;

void WidgetPluginInputText::setSendText(const QString& text)
{
    ui->plainTextEditPluginInputText->setPlainText(text);
}

void WidgetPluginInputText::setPressEnter(const QString& status)
{
    ui->ckbPressEnter->setChecked(status == PluginInputText::PayloadImpl::kPressEnter);
}

void WidgetPluginInputText::onPressEnterChanged(int state)
{
    emit enterDidChange(state == Qt::Checked ? PluginInputText::PayloadImpl::kPressEnter
                                             : PluginInputText::PayloadImpl::kNoPressEnter);
}

void WidgetPluginInputText::onTextChanged()
{
    const int length = ui->plainTextEditPluginInputText->toPlainText().size();
    emit textDidChange(ui->plainTextEditPluginInputText->toPlainText());
    ui->lblPluginTextCount->setText(QStringLiteral("%1/%2").arg(length).arg(kMaxLength));
    if (length <= kMaxLength) {
        m_undoSteps = ui->plainTextEditPluginInputText->document()->availableUndoSteps();
    } else if (!m_cutPending) {
        // Once the edit is complete: an undo passes through longer states on its way.
        m_cutPending = true;
        QTimer::singleShot(0, this, &WidgetPluginInputText::cutOverflow);
    }
}

// Over the limit, the characters just typed or pasted go again: the stretch that ends
// at the cursor. The cut joins the edit that overflowed, so one undo takes back both.
// Where the cursor stands too early for that (text set from outside), the tail goes.
// A character outside the BMP is never split: it goes whole.
void WidgetPluginInputText::cutOverflow()
{
    m_cutPending = false;
    QPlainTextEdit* editor = ui->plainTextEditPluginInputText;
    const QString text = editor->toPlainText();
    const int excess = text.size() - kMaxLength;
    if (excess <= 0)
        return;
    // An undo or redo that lands on the overflowing edit (where the cut could not join
    // it) goes one step further, to the text before that edit or after its cut.
    QTextDocument* document = editor->document();
    if (document->isRedoAvailable() && document->availableUndoSteps() != m_undoSteps) {
        if (document->availableUndoSteps() < m_undoSteps)
            editor->undo();
        else
            editor->redo();
        return;
    }
    QTextCursor cursor = editor->textCursor();
    const int end = cursor.position() >= excess ? cursor.position() : int(text.size());
    int start = end - excess;
    if (start > 0 && text.at(start).isLowSurrogate())
        --start;
    cursor.joinPreviousEditBlock();
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();  // textChanged again, now within the limit
    cursor.endEditBlock();
    editor->setTextCursor(cursor);
}
