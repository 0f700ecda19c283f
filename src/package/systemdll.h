#pragma once

#include "ibuiltinpackagelibrary.h"

// The system package: names its menu entries and creates its six actions. The list of
// actions is CategoryConfig.json's "subnode"; the factory and the menu titles here follow
// it, and the package tests hold the three together.
class SystemDll : public IBuiltInPackageLibrary
{
    Q_OBJECT
public:
    explicit SystemDll(QObject* parent = nullptr);
    ~SystemDll() override;

    QMap<QString, QString> mapping() override;
    KYPlugin* makeWidget(const QString& category, int n) override;

    // The categories makeWidget() makes, in lookup order.
    static QStringList categories();
};
