#include "widgetpluginwindowscontrol.h"

#include "actions/common/actionslog.h"
#include "platform/windowcontrol/interfacetowindowcontrol.h"
#include "platform/windowcontrol/windowrecordfilter.h"
#include "ui_widgetpluginwindowscontrol.h"
#include "windowscontrolconstants.h"

#include <QIntValidator>
#include <QSignalBlocker>
#include <QStyledItemDelegate>

namespace C = WindowsControlConstants;

namespace {

// How to enable what the platform lacks, by WindowBackend::Missing.
const char* const kSetupHint = QT_TR_NOOP("LAB_WINDOWCONTROL_GNOME_EXTENSION");

const char* const kActionTexts[] = {
    QT_TR_NOOP("LAB_WINDOWCONTROL_ACTION_RESIZE"),
    QT_TR_NOOP("LAB_WINDOWCONTROL_ACTION_MINIMIZE"),
    QT_TR_NOOP("LAB_WINDOWCONTROL_ACTION_MAXIMIZE"),
    QT_TR_NOOP("LAB_WINDOWCONTROL_ACTION_CLOSE"),
};

// The number in a field; text that is none, or out of the int range, counts as 0.
int valueOf(const QLineEdit* field)
{
    return field->text().toInt();
}

} // namespace

WidgetPluginWindowsControl::WidgetPluginWindowsControl(InterfaceToWindowControl* control, QWidget* parent)
    : ActionInspector(parent)
    , ui(std::make_unique<Ui::WidgetPluginWindowsControl>())
    , windowControl(control)
{
    ui->setupUi(this);
    ui->comboBoxWindowTitle->setItemDelegate(new QStyledItemDelegate(ui->comboBoxWindowTitle));
    ui->comboBoxAction->setItemDelegate(new QStyledItemDelegate(ui->comboBoxAction));
    setBase(ui->base);
    for (QLineEdit* extent : {ui->lineEditW, ui->lineEditH})
        extent->setValidator(new QIntValidator(0, C::kMaxExtent, this));
    for (QLineEdit* coordinate : {ui->lineEditX, ui->lineEditY})
        coordinate->setValidator(new QIntValidator(C::kMinCoordinate, C::kMaxCoordinate, this));
    initWindowList();
    initActionList();
    const bool needsExtension = windowControl->missing() == WindowBackend::Missing::GnomeExtension;
    ui->labelSetupHint->setText(needsExtension ? tr(kSetupHint) : QString());
    ui->labelSetupHint->setVisible(needsExtension);
}

WidgetPluginWindowsControl::~WidgetPluginWindowsControl() = default;

WidgetPluginWindowsControl::Reattach WidgetPluginWindowsControl::detach(QComboBox* box,
                                                                       void (WidgetPluginWindowsControl::*slot)(int))
{
    disconnect(box, &QComboBox::currentIndexChanged, nullptr, nullptr);
    return Reattach([this, box, slot] { connect(box, &QComboBox::currentIndexChanged, this, slot); });
}

WidgetPluginWindowsControl::Reattach WidgetPluginWindowsControl::detachWindowList()
{
    return detach(ui->comboBoxWindowTitle, &WidgetPluginWindowsControl::on_comboBoxWindowTitle_currentIndexChanged);
}

WidgetPluginWindowsControl::Reattach WidgetPluginWindowsControl::detachActionList()
{
    return detach(ui->comboBoxAction, &WidgetPluginWindowsControl::on_comboBoxAction_currentIndexChanged);
}

WidgetPluginWindowsControl::Reattach WidgetPluginWindowsControl::detachFields()
{
    using W = WidgetPluginWindowsControl;
    const std::pair<QLineEdit*, void (W::*)(const QString&)> fields[] = {
        {ui->lineEditX, &W::on_lineEditX_textChanged},
        {ui->lineEditY, &W::on_lineEditY_textChanged},
        {ui->lineEditW, &W::on_lineEditW_textChanged},
        {ui->lineEditH, &W::on_lineEditH_textChanged},
    };
    for (const auto& field : fields)
        disconnect(field.first, &QLineEdit::textChanged, nullptr, nullptr);
    return Reattach([this, fields] {
        for (const auto& [edit, slot] : fields)
            connect(edit, &QLineEdit::textChanged, this, slot);
    });
}

void WidgetPluginWindowsControl::initWindowList()
{
    qCDebug(lcActions) << Q_FUNC_INFO << "entry";
    const Reattach reattach = detachWindowList();
    ui->comboBoxWindowTitle->clear();
    for (const TovWindowControl::WindowsInfo& info : windowControl->getAllWindowInfos()) {
        qCDebug(lcActions) << Q_FUNC_INFO << "insert window title:" << WindowRecordFilter::forLog(info.title);
        ui->comboBoxWindowTitle->addItem(info.title);
    }
    qCDebug(lcActions) << Q_FUNC_INFO << "leave";
}

void WidgetPluginWindowsControl::initActionList()
{
    qCDebug(lcActions) << Q_FUNC_INFO << "entry";
    const Reattach reattach = detachActionList();
    ui->comboBoxAction->clear();
    for (int action = C::kFirstAction; action <= C::kLastAction; ++action)
        ui->comboBoxAction->addItem(tr(kActionTexts[action]), action);
    qCDebug(lcActions) << Q_FUNC_INFO << "leave";
}

void WidgetPluginWindowsControl::selectWindowTitle(const char* function, const QString& title)
{
    QComboBox* box = ui->comboBoxWindowTitle;
    // A stored title stays shown, and so stays stored, even while no window is open.
    if (box->count() == 0 && title.isEmpty())
        return;
    int index = box->findText(title, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0) {
        qCDebug(lcActions) << function << "window title:" << WindowRecordFilter::forLog(title) << " not found!";
        box->insertItem(0, title);
        index = 0;
    }
    box->setCurrentIndex(index);
}

void WidgetPluginWindowsControl::refreshWindowsList()
{
    qCDebug(lcActions) << Q_FUNC_INFO << "target window title:" << WindowRecordFilter::forLog(windowTitle);
    const QList<TovWindowControl::WindowsInfo> infos = windowControl->getAllWindowInfos();
    const Reattach reattach = detachWindowList();
    ui->comboBoxWindowTitle->clear();
    for (const TovWindowControl::WindowsInfo& info : infos)
        ui->comboBoxWindowTitle->addItem(info.title);
    selectWindowTitle(Q_FUNC_INFO, windowTitle);
}

void WidgetPluginWindowsControl::setWindowTitleName(const QString& title)
{
    qCDebug(lcActions) << Q_FUNC_INFO << "entry, window titile:" << WindowRecordFilter::forLog(title);
    const Reattach reattach = detachWindowList();
    selectWindowTitle(Q_FUNC_INFO, title);
    windowTitle = title;
}

void WidgetPluginWindowsControl::setProcessNameOfWindow(const QString& name)
{
    qCDebug(lcActions) << Q_FUNC_INFO << "entry, process name:" << name;
    processName = name;
}

void WidgetPluginWindowsControl::setWindowAction(const QString& type)
{
    qCDebug(lcActions) << Q_FUNC_INFO << "entry, window action type:" << type;
    const Reattach reattach = detachActionList();
    bool isNumber = false;
    const int action = type.toInt(&isNumber);
    const int index = isNumber ? ui->comboBoxAction->findData(action) : -1;
    if (index < 0) {
        qCCritical(lcActions) << Q_FUNC_INFO << "window action type is out of range";
        return;
    }
    ui->comboBoxAction->setCurrentIndex(index);
    enableFields(action == WindowTask::Resize);
    if (action != WindowTask::Resize)
        clearFields();
}

void WidgetPluginWindowsControl::setLeftTopPosition(const QPoint& position)
{
    qCDebug(lcActions) << Q_FUNC_INFO << "entry, window position:" << position;
    const Reattach reattach = detachFields();
    ui->lineEditX->setText(QString::number(position.x()));
    ui->lineEditY->setText(QString::number(position.y()));
}

// An unset size (-1 x -1) shows as empty fields, as a window without a size does.
void WidgetPluginWindowsControl::setWindowSize(const QSize& size)
{
    qCDebug(lcActions) << Q_FUNC_INFO << "entry, window size:" << size;
    const Reattach reattach = detachFields();
    ui->lineEditW->setText(size.isValid() ? QString::number(size.width()) : QString());
    ui->lineEditH->setText(size.isValid() ? QString::number(size.height()) : QString());
}

void WidgetPluginWindowsControl::setWindowMatch(bool anyWindowOfProgram, const QString& id)
{
    qCDebug(lcActions) << Q_FUNC_INFO << "entry, any window of the program:" << anyWindowOfProgram << id;
    const QSignalBlocker quiet(ui->checkBoxAnyWindow);
    ui->checkBoxAnyWindow->setChecked(anyWindowOfProgram);
    appId = id;
}

void WidgetPluginWindowsControl::on_checkBoxAnyWindow_toggled(bool checked)
{
    qCDebug(lcActions) << Q_FUNC_INFO << "any window of the program:" << checked << processName << appId;
    saveSetting2Profile();
}

void WidgetPluginWindowsControl::enableFields(bool enabled)
{
    const std::initializer_list<QWidget*> controls = {ui->lineEditX, ui->lineEditY, ui->lineEditW, ui->lineEditH,
                                                      ui->btnRefreshRect};
    for (QWidget* control : controls)
        control->setEnabled(enabled);
}

void WidgetPluginWindowsControl::clearFields()
{
    for (QLineEdit* field : {ui->lineEditW, ui->lineEditH, ui->lineEditX, ui->lineEditY})
        field->clear();
}

int WidgetPluginWindowsControl::currentAction() const
{
    return ui->comboBoxAction->currentData().toInt();
}

bool WidgetPluginWindowsControl::isListed(const QString& title)
{
    return windowControl->getIndexOfWindowInfos(windowControl->getAllWindowInfos(), title) >= 0;
}

void WidgetPluginWindowsControl::refreshRect()
{
    qCDebug(lcActions) << Q_FUNC_INFO << "entry";
    const Reattach reattach = detachFields();
    if (!isListed(windowTitle)) {
        qCCritical(lcActions).nospace() << Q_FUNC_INFO << " title:[" << WindowRecordFilter::forLog(windowTitle) << "] not found";
        clearFields();
        return;
    }
    windowControl->getTargetWindowInformation(windowTitle);
    const QPoint position = windowControl->targetWindowPosition;
    const QSize size = windowControl->targetWindowSize;
    qCDebug(lcActions) << Q_FUNC_INFO << WindowRecordFilter::forLog(windowTitle) << position << size;
    ui->lineEditX->setText(QString::number(position.x()));
    ui->lineEditY->setText(QString::number(position.y()));
    if (size.width() >= 0 && size.height() >= 0) {
        ui->lineEditW->setText(QString::number(size.width()));
        ui->lineEditH->setText(QString::number(size.height()));
    } else {
        ui->lineEditW->clear();
        ui->lineEditH->clear();
        qCCritical(lcActions) << Q_FUNC_INFO << "get window size:" << size;
    }
    qCDebug(lcActions) << Q_FUNC_INFO << "leave";
}

void WidgetPluginWindowsControl::saveSetting2Profile()
{
    const QString title = ui->comboBoxWindowTitle->currentText();
    const QString action = QString::number(currentAction());
    const QPoint position(valueOf(ui->lineEditX), valueOf(ui->lineEditY));
    const QSize size(valueOf(ui->lineEditW), valueOf(ui->lineEditH));
    qCDebug(lcActions) << Q_FUNC_INFO << "window title:" << WindowRecordFilter::forLog(title);
    qCDebug(lcActions) << Q_FUNC_INFO << "process name:" << processName;
    qCDebug(lcActions) << Q_FUNC_INFO << "window action:" << action;
    qCDebug(lcActions) << Q_FUNC_INFO << "window position:" << position;
    qCDebug(lcActions) << Q_FUNC_INFO << "window size:" << size;
    emit WindowTitleNameDidChange(title, processName);
    emit WindowActionDidChange(action);
    emit LeftTopPositionDidChange(position);
    emit WindowSizeDidChange(size);
    emit WindowMatchDidChange(ui->checkBoxAnyWindow->isChecked(), appId);
}

void WidgetPluginWindowsControl::showEvent(QShowEvent* event)
{
    ActionInspector::showEvent(event);
    refreshWindowsList();
}

void WidgetPluginWindowsControl::on_comboBoxWindowTitle_currentIndexChanged(int)
{
    windowTitle = ui->comboBoxWindowTitle->currentText();
    if (!isListed(windowTitle)) {
        qCCritical(lcActions).nospace() << Q_FUNC_INFO << " title:[" << WindowRecordFilter::forLog(windowTitle) << "] not found";
        return;
    }
    windowControl->getTargetWindowInformation(windowTitle);
    processName = windowControl->targetProcessName;
    appId = windowControl->targetAppId;
    qCDebug(lcActions) << Q_FUNC_INFO << "change target window title:" << WindowRecordFilter::forLog(windowTitle);
    qCDebug(lcActions) << Q_FUNC_INFO << "change target process name:" << processName;
    ui->comboBoxAction->setEnabled(true);
    {
        const Reattach reattach = detachActionList();
        ui->comboBoxAction->setCurrentIndex(0);
    }
    enableFields(true);
    refreshRect();
    saveSetting2Profile();
}

void WidgetPluginWindowsControl::on_comboBoxAction_currentIndexChanged(int index)
{
    qCDebug(lcActions) << Q_FUNC_INFO << "entry, index:" << index;
    const bool resize = currentAction() == WindowTask::Resize;
    enableFields(resize);
    if (resize) {
        refreshRect();
    } else {
        const Reattach reattach = detachFields();
        clearFields();
    }
    saveSetting2Profile();
}

void WidgetPluginWindowsControl::onFieldEdited(const char* function, const QString& text, bool logEntry)
{
    if (logEntry)
        qCDebug(lcActions) << function << "entry";
    bool isNumber = false;
    text.toInt(&isNumber);
    if (isNumber)
        saveSetting2Profile();
    qCDebug(lcActions) << function << "leave";
}

void WidgetPluginWindowsControl::on_lineEditW_textChanged(const QString& text)
{
    onFieldEdited(Q_FUNC_INFO, text, false);
}

void WidgetPluginWindowsControl::on_lineEditH_textChanged(const QString& text)
{
    onFieldEdited(Q_FUNC_INFO, text, true);
}

void WidgetPluginWindowsControl::on_lineEditX_textChanged(const QString& text)
{
    onFieldEdited(Q_FUNC_INFO, text, true);
}

void WidgetPluginWindowsControl::on_lineEditY_textChanged(const QString& text)
{
    onFieldEdited(Q_FUNC_INFO, text, true);
}

void WidgetPluginWindowsControl::on_btnRefreshRect_clicked()
{
    if (windowTitle.isEmpty()) {
        qCCritical(lcActions).nospace() << Q_FUNC_INFO << " target window title:[" << WindowRecordFilter::forLog(windowTitle) << "] is empty!";
    } else if (isListed(windowTitle)) {
        refreshRect();
        saveSetting2Profile();
        return;
    } else {
        qCDebug(lcActions) << Q_FUNC_INFO << "target window title is empty";
    }
    const Reattach reattach = detachFields();
    clearFields();
}

void WidgetPluginWindowsControl::on_btnRefreshWindowList_clicked()
{
    qCDebug(lcActions) << Q_FUNC_INFO << "entry";
    refreshWindowsList();
    qCDebug(lcActions) << Q_FUNC_INFO << "leave";
}
