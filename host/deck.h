#pragma once

#include "actioninterface.h"
#include "packageinterface.h"

#include <QImage>
#include <QJsonObject>
#include <QMap>
#include <QObject>

// The virtual deck: one action object per occupied slot, created through the package
// and driven with the event envelopes. Owns the actions and deletes them before the
// package goes. Never deletes an action's widgets: the action does.
class Deck : public QObject
{
    Q_OBJECT
public:
    static constexpr int kKeyWidth = 150;
    static constexpr int kKeyHeight = 108;

    Deck(host::PackageInterface* package, int columns, int rows, QObject* parent = nullptr);
    ~Deck() override;

    int columns() const { return m_columns; }
    int rows() const { return m_rows; }
    int slotCount() const { return m_columns * m_rows; }

    // Creates the action in `slot`, replacing what was there, and initialises it
    // with `params` ("preset", "payload" or neither).
    bool assign(int slot, const QString& category, const QJsonObject& params, QString* error,
                const QString& target = QString());
    bool remove(int slot);
    host::ActionInterface* action(int slot) const;
    QString category(int slot) const;

    bool sendEvent(int slot, const QString& type, QString* error);
    // A key press as the device reports it: key down and app triggered, then key up.
    bool pressDown(int slot, QString* error);
    bool release(int slot, QString* error);
    bool press(int slot, QString* error);

    QImage render() const;
    QJsonObject profile() const;
    // Recreates every key of a stored profile; problems are collected, not fatal.
    void restore(const QJsonObject& profile, QStringList* problems);

signals:
    void settingsReported(int slot, const QString& target, const QJsonObject& payload);
    void slotChanged(int slot);

private slots:
    void onEventSent(const QJsonObject& event);

private:
    struct Key
    {
        host::ActionInterface* action = nullptr;
        QString category;
        QString target;
        QJsonObject payload;  // last reported, or the stored one it was made from
        QJsonObject preset;   // what a key made from a preset was given
    };

    bool validSlot(int slot, QString* error) const;
    void destroy(Key& key);

    host::PackageInterface* m_package;
    int m_columns;
    int m_rows;
    QMap<int, Key> m_keys;
};
