#pragma once

#include <QObject>

// The object our KWin scripts call back on (callDBus): each call carries the token of the
// script that sent it and its answer as JSON.
class KWinAnswerReceiver final : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.corvane.VantaKWin")
public:
    static constexpr char kInterface[] = "com.corvane.VantaKWin";
    static constexpr char kMethod[] = "answer";

    using QObject::QObject;

public slots:
    Q_SCRIPTABLE void answer(const QString& token, const QString& json);

signals:
    void answered(const QString& token, const QString& json);
};
