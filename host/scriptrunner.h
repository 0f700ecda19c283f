#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QString>

class Deck;
class ProfileStore;

// Runs a headless script: a JSON array of steps, each {"do": ..., ...}, in order.
// Every step that fails prints an "error" line; the run goes on with the next one.
class ScriptRunner
{
public:
    ScriptRunner(Deck& deck, ProfileStore& profile);

    // Returns false when at least one step failed.
    bool run(const QJsonArray& steps);

private:
    bool runStep(const QJsonObject& step, QString* error);
    bool assign(const QJsonObject& step, QString* error);
    bool typeInto(const QJsonObject& step, bool clear, QString* error);
    bool render(const QJsonObject& step, QString* error);
    bool pickIcon(const QJsonObject& step, QString* error);
    bool slotOf(const QJsonObject& step, int* slot, QString* error) const;
    void flushKeys();

    Deck& m_deck;
    ProfileStore& m_profile;
};
