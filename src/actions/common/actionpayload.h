#pragma once

#include "widgets/kydisplayviewattribute.h"

#include <QJsonObject>
#include <QStringList>

// The settings record every action keeps: titles and icons per state, the action
// title and the title's display attributes, plus the action's own keys. It reads
// the three input forms (versioned payload, legacy payload, preset) and writes the
// versioned form, which restores the record exactly.
class ActionPayload
{
public:
    enum class Form { Versioned, Legacy, Preset };

    virtual ~ActionPayload();

    int version = 1;
    QStringList titles;
    QStringList icons;
    QString actionTitle;
    KyDisplayViewAttribute displayView;

    // Defaults: one title, one icon, the action title from the title; own keys by
    // resetOwn().
    void reset();
    virtual void setV1Payload(const QJsonObject& payload);
    virtual void setLegacyPayload(const QJsonObject& payload);
    virtual void setPreset(const QJsonObject& preset);
    // Picks the versioned or the legacy reader by the presence of "version".
    virtual void setPayload(const QJsonObject& payload);
    QJsonObject toJson() const;

    QString firstTitle() const { return titles.value(0); }
    QString firstIcon() const { return icons.value(0); }
    void setFirstTitle(const QString& title);
    void setFirstIcon(const QString& icon);

    // What a preset must hold; an empty answer accepts it, otherwise it says why not.
    virtual QString presetProblem(const QJsonObject& preset) const;

    bool operator==(const ActionPayload& other) const { return toJson() == other.toJson(); }

protected:
    virtual QString defaultTitle() const = 0;
    virtual QString defaultIcon() const = 0;
    virtual void resetOwn() = 0;
    virtual void readOwn(const QJsonObject& json, Form form) = 0;
    virtual void writeOwn(QJsonObject& json) const = 0;
};

// The keys every action's record shares.
namespace PayloadKey {
inline const QString kVersion = QStringLiteral("version");
inline const QString kTitleList = QStringLiteral("titlelist");
inline const QString kIconList = QStringLiteral("iconlist");
inline const QString kActionTitle = QStringLiteral("actionTitle");
inline const QString kDisplayView = QStringLiteral("displayView");
inline const QString kLegacyTitle = QStringLiteral("Title");
inline const QString kLegacyImage = QStringLiteral("ImagePath");
}

// Tolerant readers: a member of the wrong type reads as empty.
namespace PayloadRead {
QString string(const QJsonObject& json, const QString& key);
QStringList strings(const QJsonObject& json, const QString& key);
}
