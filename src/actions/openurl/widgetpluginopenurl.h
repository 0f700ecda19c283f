#pragma once

#include "actions/common/actioninspector.h"

#include <memory>

namespace Ui {
class WidgetPluginOpenUrl;
}

// The Open URL inspector: the shared title/icon/text block plus the URL edit.
class WidgetPluginOpenUrl : public ActionInspector
{
    Q_OBJECT
public:
    explicit WidgetPluginOpenUrl(QWidget* parent = nullptr);
    ~WidgetPluginOpenUrl() override;

    // Shows the URL without reporting it as an edit.
    void setPluginUrl(const QString& url);
    QString pluginUrl() const { return m_url; }

signals:
    void urlChanged(const QString& url);

private slots:
    void onUrlEdited(const QString& url);

private:
    std::unique_ptr<Ui::WidgetPluginOpenUrl> ui;
    QString m_url;
};
