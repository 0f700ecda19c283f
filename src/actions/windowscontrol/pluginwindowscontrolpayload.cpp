#include "pluginwindowscontrolpayload.h"

#include "actions/common/actionslog.h"

#include <QJsonObject>

namespace {
const QString kLegacyTitle = QStringLiteral("onTitle");
const QString kLegacyIcon = QStringLiteral("onImagePath");
const QString kWindowTitle = QStringLiteral("windowTitleName");
const QString kProcessName = QStringLiteral("processNameOfWindow");
const QString kWindowAction = QStringLiteral("windowAction");
const QString kPositionX = QStringLiteral("leftTopPositionX");
const QString kPositionY = QStringLiteral("leftTopPositionY");
const QString kSizeW = QStringLiteral("windowSizeW");
const QString kSizeH = QStringLiteral("windowSizeH");
const QString kMatch = QStringLiteral("windowMatch");
const QString kMatchBy = QStringLiteral("by");
const QString kMatchProgram = QStringLiteral("program");
const QString kMatchAppId = QStringLiteral("appId");

// Both members present, each read as an integer (0 when it is none).
bool readPair(const QJsonObject& json, const QString& first, const QString& second, int* a, int* b)
{
    if (!json.contains(first) || !json.contains(second))
        return false;
    *a = json.value(first).toInt();
    *b = json.value(second).toInt();
    return true;
}
} // namespace

QString PluginWindowsControl::PayloadImpl::defaultTitle() const
{
    return QStringLiteral("W. Control");
}

QString PluginWindowsControl::PayloadImpl::defaultIcon() const
{
    return QStringLiteral(":/SystemDll/images/mainpage_btn_window_control.svg");
}

void PluginWindowsControl::PayloadImpl::resetOwn()
{
    windowTitleName.clear();
    processNameOfWindow.clear();
    windowAction.clear();
    leftTopPosition = QPoint(0, 0);
    windowSize = QSize();
    anyWindowOfProgram = false;
    appIdOfWindow.clear();
    unknownMatch = QJsonValue();
}

void PluginWindowsControl::PayloadImpl::readOwn(const QJsonObject& json, Form form)
{
    readFirstEntries(json, form);
    if (form != Form::Legacy)
        readWindowFields(json);
}

// The shared reader has taken the generic keys; this action keeps one entry each and
// reads its older profiles under their own names.
void PluginWindowsControl::PayloadImpl::readFirstEntries(const QJsonObject& json, Form form)
{
    const auto first = [&](const QString& key) { return QStringList{PayloadRead::strings(json, key).value(0)}; };
    switch (form) {
    case Form::Legacy:
        titles = QStringList{PayloadRead::string(json, kLegacyTitle)};
        icons = QStringList{PayloadRead::string(json, kLegacyIcon)};
        actionTitle = firstTitle();
        return;
    case Form::Versioned:
        titles = first(PayloadKey::kTitleList);
        icons = first(PayloadKey::kIconList);
        return;
    case Form::Preset:
        // A preset starts from the defaults.
        titles = json.contains(PayloadKey::kTitleList) ? first(PayloadKey::kTitleList) : QStringList{defaultTitle()};
        icons = json.contains(PayloadKey::kIconList) ? first(PayloadKey::kIconList) : QStringList{defaultIcon()};
        actionTitle = json.contains(PayloadKey::kActionTitle) ? PayloadRead::string(json, PayloadKey::kActionTitle) : firstTitle();
        return;
    }
}

void PluginWindowsControl::PayloadImpl::readWindowFields(const QJsonObject& json)
{
    windowTitleName = PayloadRead::string(json, kWindowTitle);
    processNameOfWindow = PayloadRead::string(json, kProcessName);
    windowAction = PayloadRead::string(json, kWindowAction);
    int x = 0, y = 0, w = -1, h = -1;
    leftTopPosition = readPair(json, kPositionX, kPositionY, &x, &y) ? QPoint(x, y) : QPoint(0, 0);
    windowSize = readPair(json, kSizeW, kSizeH, &w, &h) ? QSize(w, h) : QSize();
    // Any other form (a newer host's, say) means the exact title here, and is kept.
    const QJsonValue match = json.value(kMatch);
    const QJsonObject program = match.toObject();
    anyWindowOfProgram = program.value(kMatchBy).toString() == kMatchProgram;
    appIdOfWindow = anyWindowOfProgram ? program.value(kMatchAppId).toString() : QString();
    unknownMatch = anyWindowOfProgram ? QJsonValue() : match;
    if (!unknownMatch.isUndefined())
        qCInfo(lcActions) << "[PluginWindowsControl] windowMatch of an unknown form, kept; the window is found by title:"
                          << match;
}

WindowTask PluginWindowsControl::PayloadImpl::task() const
{
    WindowTask task;
    task.title = windowTitleName;
    task.process = processNameOfWindow;
    bool isNumber = false;
    const int action = windowAction.toInt(&isNumber);
    if (isNumber && action >= WindowTask::Resize && action <= WindowTask::Close)
        task.operation = WindowTask::Operation(action);
    task.rect = QRect(leftTopPosition, windowSize);
    if (anyWindowOfProgram) {
        task.match = WindowTask::Match::Program;
        task.appId = appIdOfWindow;
    }
    return task;
}

void PluginWindowsControl::PayloadImpl::writeOwn(QJsonObject& json) const
{
    json.insert(kWindowTitle, windowTitleName);
    json.insert(kProcessName, processNameOfWindow);
    json.insert(kWindowAction, windowAction);
    json.insert(kPositionX, leftTopPosition.x());
    json.insert(kPositionY, leftTopPosition.y());
    json.insert(kSizeW, windowSize.width());
    json.insert(kSizeH, windowSize.height());
    if (anyWindowOfProgram)
        json.insert(kMatch, QJsonObject{{kMatchBy, kMatchProgram}, {kMatchAppId, appIdOfWindow}});
    else if (!unknownMatch.isUndefined())
        json.insert(kMatch, unknownMatch);
    // The stored action title is the key's title, whatever the field holds.
    json.insert(PayloadKey::kActionTitle, firstTitle());
}
