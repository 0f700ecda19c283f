#pragma once

#include "cloudapi.h"

#include <QString>

// Addresses of the cloud service for the environment the host selected.
// Arguments are inserted unchanged, without URL encoding.
class CloudServiceUrlManager
{
public:
    CloudServiceUrlManager() = delete;

    static void setCloudType(CloudAPI::CloudType type);
    static CloudAPI::CloudType getCloudType();
    static QString getDomainUrl(CloudAPI::CloudType type);

    static QString getCloudClientID();
    static QString getCloudClientSecret();

    static QString getPluginVersionJson();
    static QString getIconBuilderUrl();
    static QString getRevokeTokenUrl();
    static QString getRefreshTokenUrl();
    static QString getRefreshCdnAccountTokenUrl();
    static QString getPlatformAccountUrl();
    static QString getPlatformAccountAllUrl();
    static QString getCorvaneLoginUrl();
    static QString getRequestProfileUrl();
    static QString getRequestIdUrl();
    static QString getTwitchToken();
    static QString getOBSGuideUrl();
    static QString getWidgetStoreUrl();
    static QString getWidgetStoreFullList();
    static QString getWidgetStoreUserFeedbackFullList();
    static QString getWidgetStoreFeedbackScoreUrl();

    static QString getFullStreamsUrl(const QString& id);
    static QString getYoutubeCheckTokenInvalid(const QString& id);
    static QString getTwitchCheckTokenInvalid(const QString& id);
    static QString getFullChannelUrl(const QString& id);
    static QString getFullChatUrl(const QString& id);
    static QString getFullPlatformAccountUrl(const QString& id);
    static QString getFullRequestIdCheckUrl(const QString& id);
    static QString getWidgetStoreDownloadCountIncUrl(const QString& id);

    static QString getWidgetStoreUserFeedback(const QString& id);
    static QString getFaceBookAuthorizeUrl(const QString& requestId);
    static QString getFullAuthorizeUrl(const QString& requestType, const QString& requestId);
    static QString getWidgetStorePackageDetailInfoPage(const QString& a, const QString& b,
                                                       const QString& c);
    static QString getWidgetStoreHotkeyProfileUrl(const QString& a);
    static QString getWidgetStoreAudioProfileUrl(const QString& a);
    static QString getWidgetStoreWebChannelUrl(const QString& a);

    static QString getMicApoGuideUrl();
    static QString getSoftwarePrivacyUrl();

private:
    static QString base();
    static QString withId(const char* path, const QString& id);

    static CloudAPI::CloudType m_type;
};
