#pragma once

#include "actions/common/actioninspector.h"

#include <QPoint>
#include <QScopeGuard>
#include <QSize>

#include <functional>
#include <memory>

class InterfaceToWindowControl;
class QComboBox;
class QLineEdit;

namespace Ui {
class WidgetPluginWindowsControl;
}

// The Windows Control inspector: picks the target window from the open ones (that one
// by its title, or any window of its program), the window action and, for a resize,
// the frame, and reports each change through its five signals. The action applies what it reported.
class WidgetPluginWindowsControl : public ActionInspector
{
    Q_OBJECT
public:
    // Lists the windows through windowControl, which must outlive it.
    explicit WidgetPluginWindowsControl(InterfaceToWindowControl* windowControl, QWidget* parent = nullptr);
    ~WidgetPluginWindowsControl() override;

    // Show the stored values without reporting them as edits.
    void setWindowTitleName(const QString& title);
    void setProcessNameOfWindow(const QString& processName);
    void setWindowAction(const QString& type);
    void setLeftTopPosition(const QPoint& position);
    void setWindowSize(const QSize& size);
    void setWindowMatch(bool anyWindowOfProgram, const QString& appId);

signals:
    void WindowTitleNameDidChange(const QString& windowTitle, const QString& processName);
    void WindowActionDidChange(const QString& windowAction);
    void LeftTopPositionDidChange(const QPoint& position);
    void WindowSizeDidChange(const QSize& windowSize);
    void WindowMatchDidChange(bool anyWindowOfProgram, const QString& appId);

protected:
    // The window list is read again each time the inspector is shown.
    void showEvent(QShowEvent* event) override;

private slots:
    void on_btnRefreshRect_clicked();
    void on_comboBoxWindowTitle_currentIndexChanged(int index);
    void on_comboBoxAction_currentIndexChanged(int index);
    void on_lineEditW_textChanged(const QString& text);
    void on_lineEditH_textChanged(const QString& text);
    void on_lineEditX_textChanged(const QString& text);
    void on_lineEditY_textChanged(const QString& text);
    void on_btnRefreshWindowList_clicked();
    void on_checkBoxAnyWindow_toggled(bool checked);

private:
    using Reattach = QScopeGuard<std::function<void()>>;

    void initWindowList();
    void initActionList();
    void refreshWindowsList();
    void refreshRect();
    void saveSetting2Profile();

    // Detach a control's edit handlers until the guard goes.
    [[nodiscard]] Reattach detach(QComboBox* box, void (WidgetPluginWindowsControl::*slot)(int));
    [[nodiscard]] Reattach detachWindowList();
    [[nodiscard]] Reattach detachActionList();
    [[nodiscard]] Reattach detachFields();

    // Makes title the current window, inserting it at the top when it is not listed;
    // logs under the name of the calling function.
    void selectWindowTitle(const char* function, const QString& title);
    bool isListed(const QString& title);
    void enableFields(bool enabled);
    void clearFields();
    int currentAction() const;
    void onFieldEdited(const char* function, const QString& text, bool logEntry);

    std::unique_ptr<Ui::WidgetPluginWindowsControl> ui;
    InterfaceToWindowControl* windowControl = nullptr;  // not owned
    QString windowTitle;
    QString processName;
    QString appId;
};
