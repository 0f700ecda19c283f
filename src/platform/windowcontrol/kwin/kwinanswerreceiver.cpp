#include "kwinanswerreceiver.h"

void KWinAnswerReceiver::answer(const QString& token, const QString& json)
{
    emit answered(token, json);
}
