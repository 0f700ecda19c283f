#include "widgetplugininputhotkey.h"

#include "ui_widgetplugininputhotkey.h"

#include <QKeyEvent>
#include <QLineEdit>

#include <algorithm>
#include <iterator>

namespace {

const char* const kInnerEditStyle =
    "QLineEdit {background-color: #1E1E1E;color: #FFFFFF;font-size:12px;font-weight: Bold;"
    "padding-left: 5px;padding-right: 5px;border: 0px;border-radius: 3px;}"
    "QLineEdit:focus {border: 1px solid #FF9900;border-radius: 3px;}";
constexpr int kInnerEditHeight = 24;
const QString kKeypadSuffix = QStringLiteral("NUMPAD");

struct ShiftedCharacter
{
    int key;
    const char* stored;
};

// A shifted character is stored as Shift and the key that carries it on a US keyboard.
constexpr ShiftedCharacter kShifted[] = {
    {Qt::Key_Exclam, "Shift+1"}, {Qt::Key_At, "Shift+2"}, {Qt::Key_NumberSign, "Shift+3"},
    {Qt::Key_Dollar, "Shift+4"}, {Qt::Key_Percent, "Shift+5"}, {Qt::Key_AsciiCircum, "Shift+6"},
    {Qt::Key_Ampersand, "Shift+7"}, {Qt::Key_Asterisk, "Shift+8"}, {Qt::Key_ParenLeft, "Shift+9"},
    {Qt::Key_ParenRight, "Shift+0"}, {Qt::Key_Underscore, "Shift+-"}, {Qt::Key_Plus, "Shift+="},
    {Qt::Key_BraceLeft, "Shift+["}, {Qt::Key_BraceRight, "Shift+]"}, {Qt::Key_Bar, "Shift+\\"},
    {Qt::Key_Colon, "Shift+;"}, {Qt::Key_QuoteDbl, "Shift+'"}, {Qt::Key_Less, "Shift+,"},
    {Qt::Key_Greater, "Shift+."}, {Qt::Key_Question, "Shift+/"}, {Qt::Key_AsciiTilde, "Shift+`"},
};

QKeySequence parsed(const QString& text)
{
    return QKeySequence::fromString(text, QKeySequence::NativeText);
}

} // namespace

WidgetPluginInputHotkey::WidgetPluginInputHotkey(QWidget* parent)
    : ActionInspector(parent)
    , ui(std::make_unique<Ui::WidgetPluginInputHotkey>())
{
    ui->setupUi(this);
    if (auto* inner = ui->txtEditPluginInputHotkey->findChild<QLineEdit*>()) {
        inner->setPlaceholderText(tr("LAB_PLUGIN_CLICK_TO_ASSIGN"));
        inner->setContextMenuPolicy(Qt::NoContextMenu);
        inner->setStyleSheet(QLatin1String(kInnerEditStyle));
        inner->setFixedHeight(kInnerEditHeight);
    }
    ui->linetxtEditPluginInputHotkey->hide();
    ui->txtEditPluginInputHotkey->installEventFilter(this);
    connect(ui->txtEditPluginInputHotkey, &QKeySequenceEdit::editingFinished, this,
            &WidgetPluginInputHotkey::onKeySequenceEditingFinished);
    setBase(ui->base);
}

WidgetPluginInputHotkey::~WidgetPluginInputHotkey() = default;

void WidgetPluginInputHotkey::setKeySequenceHotkey(const QString& hotkey)
{
    m_hotkey = hotkey;
    QKeySequenceEdit* edit = ui->txtEditPluginInputHotkey;
    if (!hotkey.isEmpty()) {
        // A key-pad hotkey shows as it did when it was recorded, without its suffix.
        QString shown = hotkey;
        if (shown.endsWith(kKeypadSuffix))
            shown.chop(kKeypadSuffix.size());
        edit->setKeySequence(parsed(shown));
    }
    edit->setAttribute(Qt::WA_InputMethodEnabled, false);
    edit->setFocus(Qt::OtherFocusReason);
    setFocusPolicy(Qt::StrongFocus);
}

bool WidgetPluginInputHotkey::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ui->txtEditPluginInputHotkey && event->type() == QEvent::KeyPress) {
        const auto& key = static_cast<const QKeyEvent&>(*event);
        if (takeKeypadKey(key) || takeShiftedCharacter(key))
            return true;
        m_editRecording = true;  // the key edit records this one itself
    }
    return ActionInspector::eventFilter(watched, event);
}

// A key-pad digit or operator with Ctrl, Shift or Alt (the first held, in that order).
bool WidgetPluginInputHotkey::takeKeypadKey(const QKeyEvent& event)
{
    const Qt::KeyboardModifiers mods = event.modifiers();
    const int key = event.key();
    const bool keypadKey = (key >= Qt::Key_0 && key <= Qt::Key_9) || key == Qt::Key_Plus || key == Qt::Key_Minus
                        || key == Qt::Key_Asterisk || key == Qt::Key_Slash || key == Qt::Key_Period;
    if (!mods.testFlag(Qt::KeypadModifier) || !keypadKey)
        return false;
    const char* prefix = mods.testFlag(Qt::ControlModifier) ? "Ctrl+"
                       : mods.testFlag(Qt::ShiftModifier)   ? "Shift+"
                       : mods.testFlag(Qt::AltModifier)     ? "Alt+"
                                                            : nullptr;
    if (!prefix)
        return false;
    const QString keyText = QKeySequence(event.key()).toString(QKeySequence::PortableText);
    const QKeySequence combination = parsed(QLatin1String(prefix) + keyText);
    record(combination, combination.toString(QKeySequence::PortableText) + kKeypadSuffix);
    return true;
}

bool WidgetPluginInputHotkey::takeShiftedCharacter(const QKeyEvent& event)
{
    if (event.modifiers() != Qt::ShiftModifier)
        return false;
    const auto* it = std::find_if(std::begin(kShifted), std::end(kShifted),
                                  [&](const ShiftedCharacter& entry) { return entry.key == event.key(); });
    if (it == std::end(kShifted))
        return false;
    const QKeySequence combination = parsed(QLatin1String(it->stored));
    record(combination, combination.toString(QKeySequence::PortableText));
    return true;
}

void WidgetPluginInputHotkey::record(const QKeySequence& shown, const QString& hotkey)
{
    ui->txtEditPluginInputHotkey->setKeySequence(shown);
    m_editRecording = false;
    if (hotkey == m_hotkey)
        return;
    emit hotkeyDidChange(hotkey);
    m_hotkey = hotkey;
}

// The key edit also ends "recording" at every focus-out; only what it recorded counts.
void WidgetPluginInputHotkey::onKeySequenceEditingFinished()
{
    if (!m_editRecording)
        return;
    m_editRecording = false;
    QKeySequenceEdit* edit = ui->txtEditPluginInputHotkey;
    const QKeySequence recorded = edit->keySequence();
    const QKeySequence first = recorded.isEmpty() ? QKeySequence() : QKeySequence(recorded[0]);
    edit->setKeySequence(first);
    const QString hotkey = first.toString(QKeySequence::PortableText);
    if (hotkey.isEmpty()) {
        edit->clear();
        return;
    }
    if (hotkey == m_hotkey)
        return;
    emit hotkeyDidChange(hotkey);
    m_hotkey = hotkey;
}
