#include "widgetplugininputtext.h"

#include "plugininputtextpayload.h"
#include "ui_widgetplugininputtext.h"

#include <QTextCursor>

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

// Over the limit, the characters just typed or pasted go again: the stretch that ends
// at the cursor. The cut joins the edit that overflowed, so one undo takes back both.
// Where the cursor stands too early for that (text set from outside), the tail goes.
// A character outside the BMP is never split: it goes whole.
void WidgetPluginInputText::onTextChanged()
{
    QPlainTextEdit* editor = ui->plainTextEditPluginInputText;
    const QString text = editor->toPlainText();
    emit textDidChange(text);
    ui->lblPluginTextCount->setText(QStringLiteral("%1/%2").arg(text.size()).arg(kMaxLength));
    const int excess = text.size() - kMaxLength;
    if (excess <= 0)
        return;
    QTextCursor cursor = editor->textCursor();
    const int end = cursor.position() >= excess ? cursor.position() : int(text.size());
    int start = end - excess;
    if (start > 0 && text.at(start).isLowSurrogate())
        --start;
    cursor.joinPreviousEditBlock();
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();  // emits textChanged again, now within the limit
    cursor.endEditBlock();
    editor->setTextCursor(cursor);
}
