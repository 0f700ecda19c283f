#include "kyremotesubjects.h"

namespace KyRemoteSubjects {

const QString kSubjectMixerMute = QStringLiteral("remote.subject.mixer.mute");
const QString kSubjectFunctionkeySlot = QStringLiteral("remote.subject.functionkey.slot");
const QString kSubjectPageIndicator = QStringLiteral("remote.subject.page.indicator");

} // namespace KyRemoteSubjects
