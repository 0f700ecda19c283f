#pragma once

// A minimal action on the shared core, for tests: one own key, "Value", and a record of
// every handler call.
#include "actions/common/systemaction.h"

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

class TestAction : public SystemAction
{
    Q_OBJECT
public:
    TestAction() : SystemAction(std::make_unique<TestPayload>(), nullptr, {}) {}

    QStringList calls;
    int syncs = 0;
    TestPayload& record = static_cast<TestPayload&>(payload());
    QJsonObject lastArgument{{"unset", true}};

    int onKeyUpEvent(const QJsonObject& e) override { calls << "up"; lastArgument = e; return 0; }
    int onKeyDownEvent(const QJsonObject& e) override { calls << "down"; lastArgument = e; return 0; }
    int onAppTriggeredEvent(const QJsonObject& e) override { calls << "triggered"; lastArgument = e; return 0; }

protected:
    void syncOwn() override { ++syncs; }
};
