#include "cloudserviceurlmanager.h"

namespace {
// Our own service lives under the reserved example domains.
const char* const kOfficialBase = "https://cloud.example.com";
const char* const kTestBase = "https://cloud-test.example.com";
const char* const kDevBase = "https://cloud-dev.example.com";
const char* const kMicApoGuidePage = "https://www.example.org/support/mic-apo-guide";
const char* const kPrivacyPage = "https://www.example.org/legal/privacy";

// Synthetic client credentials: 40 letters and digits, 100 lower-case hex digits.
const char* const kClientId = "EXAMPLEclientID0000000000000000000000000";
const char* const kClientSecret =
    "0123456789abcdef0123456789abcdef0123456789abcdef"
    "0123456789abcdef0123456789abcdef0123456789abcdef0000";

QString lit(const char* text)
{
    return QString::fromLatin1(text);
}
}

CloudAPI::CloudType CloudServiceUrlManager::m_type = CloudAPI::Official;

void CloudServiceUrlManager::setCloudType(CloudAPI::CloudType type)
{
    // Once an out-of-range type is stored, the environment is frozen.
    if (m_type < CloudAPI::Official || m_type > CloudAPI::Dev)
        return;
    m_type = type;
}

CloudAPI::CloudType CloudServiceUrlManager::getCloudType()
{
    return m_type;
}

QString CloudServiceUrlManager::getDomainUrl(CloudAPI::CloudType type)
{
    if (CloudAPI::isTypeDev(type))
        return lit(kDevBase);
    if (CloudAPI::isTypeTest(type))
        return lit(kTestBase);
    return lit(kOfficialBase);
}

QString CloudServiceUrlManager::getCloudClientID() { return lit(kClientId); }
QString CloudServiceUrlManager::getCloudClientSecret() { return lit(kClientSecret); }

QString CloudServiceUrlManager::base()
{
    return getDomainUrl(m_type);
}

QString CloudServiceUrlManager::withId(const char* path, const QString& id)
{
    return base() + lit(path) + id + QLatin1Char('/');
}

QString CloudServiceUrlManager::getPluginVersionJson() { return base() + lit("/cdn/ky520/plugin-version.json"); }
QString CloudServiceUrlManager::getIconBuilderUrl() { return base() + lit("/main/iconbuilder/"); }
QString CloudServiceUrlManager::getRevokeTokenUrl() { return base() + lit("/api/v2/tov/token/revoke/"); }
QString CloudServiceUrlManager::getRefreshTokenUrl() { return base() + lit("/api/v2/tov/token/refresh/"); }
QString CloudServiceUrlManager::getRefreshCdnAccountTokenUrl() { return base() + lit("/api/v2/tov/platform/accounts/refresh/"); }
QString CloudServiceUrlManager::getPlatformAccountUrl() { return base() + lit("/api/v2/tov/platform/accounts/"); }
QString CloudServiceUrlManager::getPlatformAccountAllUrl() { return base() + lit("/api/v3/tov/platform/accounts/?params=all&refresh=1"); }
QString CloudServiceUrlManager::getCorvaneLoginUrl() { return base() + lit("/api/v2/tov/login/"); }
QString CloudServiceUrlManager::getRequestProfileUrl() { return base() + lit("/api/v2/tov/user/"); }
QString CloudServiceUrlManager::getRequestIdUrl() { return base() + lit("/api/v2/tov/authentication/request/id/"); }
QString CloudServiceUrlManager::getTwitchToken() { return base() + lit("/api/v2/tov/platform/token/"); }
QString CloudServiceUrlManager::getOBSGuideUrl() { return base() + lit("/cdn/media/OBS.pdf"); }
QString CloudServiceUrlManager::getWidgetStoreUrl() { return base() + lit("/widgetstore/deckstation/"); }
QString CloudServiceUrlManager::getWidgetStoreFullList() { return base() + lit("/api/v2/package/list/"); }
QString CloudServiceUrlManager::getWidgetStoreUserFeedbackFullList() { return base() + lit("/api/v2/package/user/feedback/list/"); }
QString CloudServiceUrlManager::getWidgetStoreFeedbackScoreUrl() { return base() + lit("/api/v2/package/feedback/score/"); }

QString CloudServiceUrlManager::getFullStreamsUrl(const QString& id) { return withId("/api/v2/tov/streams/", id); }
QString CloudServiceUrlManager::getYoutubeCheckTokenInvalid(const QString& id) { return withId("/api/v2/tov/streams/", id); }
QString CloudServiceUrlManager::getTwitchCheckTokenInvalid(const QString& id) { return withId("/api/v2/tov/streams/", id); }
QString CloudServiceUrlManager::getFullChannelUrl(const QString& id) { return withId("/api/v2/tov/channel/", id); }
QString CloudServiceUrlManager::getFullChatUrl(const QString& id) { return withId("/api/v2/tov/related/urls/", id); }
QString CloudServiceUrlManager::getFullPlatformAccountUrl(const QString& id) { return withId("/api/v2/tov/platform/accounts/", id); }
QString CloudServiceUrlManager::getFullRequestIdCheckUrl(const QString& id) { return withId("/api/v2/tov/authentication/request/id/check/", id); }
QString CloudServiceUrlManager::getWidgetStoreDownloadCountIncUrl(const QString& id) { return withId("/api/v2/package/inc_download_num/", id); }

QString CloudServiceUrlManager::getWidgetStoreUserFeedback(const QString& id)
{
    return getWidgetStoreUserFeedbackFullList() + lit("?package_id=") + id;
}

QString CloudServiceUrlManager::getFaceBookAuthorizeUrl(const QString& requestId)
{
    return base() + lit("/api/v2/tov/authorize?client_id=%1&request_type=%2&request_id=%3")
                        .arg(getCloudClientID(), lit("tov_facebook_login"), requestId);
}

QString CloudServiceUrlManager::getFullAuthorizeUrl(const QString& requestType, const QString& requestId)
{
    return base() + lit("/api/v2/tov/authorize/?client_id=%1&request_type=%2&request_id=%3")
                        .arg(getCloudClientID(), requestType, requestId);
}

QString CloudServiceUrlManager::getWidgetStorePackageDetailInfoPage(const QString& a, const QString& b,
                                                                    const QString& c)
{
    return base() + lit("/%1/widgetstore/deckstation/widget_detail_web.html?pkid=%2&token=%3&page=allpackages")
                        .arg(a, b, c);
}

QString CloudServiceUrlManager::getWidgetStoreHotkeyProfileUrl(const QString& a)
{
    return base() + lit("/%1/widgetstore/deckstation/hotkey_list.html/").arg(a);
}

QString CloudServiceUrlManager::getWidgetStoreAudioProfileUrl(const QString& a)
{
    return base() + lit("/%1/widgetstore/deckstation/audio_list.html/").arg(a);
}

QString CloudServiceUrlManager::getWidgetStoreWebChannelUrl(const QString& a)
{
    return base() + lit("/%1/widgetstore/deckstation/widget_list_web.html/?page=allpackages").arg(a);
}

QString CloudServiceUrlManager::getMicApoGuideUrl() { return lit(kMicApoGuidePage); }
QString CloudServiceUrlManager::getSoftwarePrivacyUrl() { return lit(kPrivacyPage); }
