#pragma once

#include "ibuiltinpackagelibrary.h"

// The system package: names its menu entries and creates its six actions.
class SystemDll : public IBuiltInPackageLibrary
{
    Q_OBJECT
public:
    explicit SystemDll(QObject* parent = nullptr);
    ~SystemDll() override;

    QMap<QString, QString> mapping() override;
    KYPlugin* makeWidget(const QString& category, int n) override;
};
