#pragma once

#include "actions/common/actioninspector.h"

#include <memory>

class QKeyEvent;
class QKeySequence;

namespace Ui {
class WidgetPluginInputHotkey;
}

// The Input Hotkey inspector: the shared title/icon/text block plus a key-sequence
// edit that records one key combination as the hotkey string ("Ctrl+Shift+A").
// A shifted punctuation or digit character is stored as Shift and its unshifted US
// key ("Shift+1"); a key-pad digit or operator with Ctrl, Shift or Alt gets "NUMPAD"
// appended ("Ctrl+5NUMPAD", "Ctrl++NUMPAD"). Only a new recording is reported.
class WidgetPluginInputHotkey : public ActionInspector
{
    Q_OBJECT
public:
    explicit WidgetPluginInputHotkey(QWidget* parent = nullptr);
    ~WidgetPluginInputHotkey() override;

    // Shows a stored hotkey without reporting it, and focuses the key edit.
    void setKeySequenceHotkey(const QString& hotkey);
    QString hotkey() const { return m_hotkey; }

    bool eventFilter(QObject* watched, QEvent* event) override;

signals:
    void hotkeyDidChange(const QString& hotkey);

private slots:
    void onKeySequenceEditingFinished();

private:
    bool takeKeypadKey(const QKeyEvent& event);
    bool takeShiftedCharacter(const QKeyEvent& event);
    void record(const QKeySequence& shown, const QString& hotkey);

    std::unique_ptr<Ui::WidgetPluginInputHotkey> ui;
    QString m_hotkey;
    bool m_editRecording = false;  // the key edit has taken a key press since the last hotkey
};
