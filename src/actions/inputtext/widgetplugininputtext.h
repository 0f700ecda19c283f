#pragma once

#include "actions/common/actioninspector.h"

#include <memory>

namespace Ui {
class WidgetPluginInputText;
}

// The Input Text inspector: the shared title/icon/text block plus the text editor,
// limited to kMaxLength characters with a live counter, and the press-Enter box.
class WidgetPluginInputText : public ActionInspector
{
    Q_OBJECT
public:
    static constexpr int kMaxLength = 500;

    explicit WidgetPluginInputText(QWidget* parent = nullptr);
    ~WidgetPluginInputText() override;

    void setSendText(const QString& text);
    // Ticks the box exactly for "true".
    void setPressEnter(const QString& status);

signals:
    void textDidChange(const QString& text);
    void enterDidChange(const QString& status);

private slots:
    void onTextChanged();
    void onPressEnterChanged(int state);

private:
    void cutOverflow();

    std::unique_ptr<Ui::WidgetPluginInputText> ui;
    bool m_cutPending = false;
    int m_undoSteps = 0;  // undo steps of the last text within the limit
};
