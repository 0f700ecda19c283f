#pragma once

// A minimal action on the shared core, for tests: one own key, "Value", a record of
// every handler call, and on request the shared key face and inspector.
#include "actions/common/systemaction.h"
#include "widgets/basepropertywidget.h"
#include "widgets/kybasehotkeywidget.h"

#include <QStringList>

class TestPayload : public ActionPayload
{
public:
    QString value;

    QString presetProblem(const QJsonObject& preset) const override
    {
        return preset.contains("value") ? QString() : QStringLiteral("no value");
    }

protected:
    QString defaultTitle() const override { return QStringLiteral("Test"); }
    QString defaultIcon() const override { return QStringLiteral(":/test.png"); }
    void resetOwn() override { value = QStringLiteral("default"); }
    void readOwn(const QJsonObject& json, Form form) override
    {
        value = PayloadRead::string(json, form == Form::Preset ? "value" : "Value");
    }
    void writeOwn(QJsonObject& json) const override { json.insert("Value", value); }
};

struct TestFace : ActionKeyFace
{
    TestFace() { setBase(new KyBaseHotkeyWidget(this)); }
};

struct TestInspector : ActionInspector
{
    TestInspector() { setBase(new BasePropertyWidget(this)); }
};

class TestAction : public SystemAction
{
    Q_OBJECT
public:
    explicit TestAction(bool widgets = false)
        : m_face(widgets ? new TestFace : nullptr)
        , m_inspector(widgets ? new TestInspector : nullptr)
    {
    }

    QStringList calls;
    int syncs = 0;
    bool readOnlyTitle = false;
    TestPayload record;
    QJsonObject lastArgument{{"unset", true}};

    int onKeyUpEvent(const QJsonObject& e) override { calls << "up"; lastArgument = e; return 0; }
    int onKeyDownEvent(const QJsonObject& e) override { calls << "down"; lastArgument = e; return 0; }
    int onAppTriggeredEvent(const QJsonObject& e) override { calls << "triggered"; lastArgument = e; return 0; }

protected:
    ActionPayload& payload() override { return record; }
    const ActionPayload& payload() const override { return record; }
    ActionKeyFace* face() const override { return m_face.get(); }
    ActionInspector* inspector() const override { return m_inspector.get(); }
    void syncOwn() override { ++syncs; readOnlyTitle = actionMode; }

private:
    std::unique_ptr<TestFace> m_face;
    std::unique_ptr<TestInspector> m_inspector;
};
