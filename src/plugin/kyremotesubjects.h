#pragma once

#include <QString>

// Subjects of the host's local server. The package subscribes to none of them.
namespace KyRemoteSubjects {

extern const QString kSubjectMixerMute;
extern const QString kSubjectFunctionkeySlot;
extern const QString kSubjectPageIndicator;

} // namespace KyRemoteSubjects
