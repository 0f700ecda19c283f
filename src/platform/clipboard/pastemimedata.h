#pragma once

#include <QMimeData>

#include <memory>

// The text lent to the clipboard for one paste. It carries the content it replaced,
// so that whoever lends the clipboard next gives back the original, and it tells
// when its text is read in this process: by a paste into one of our own widgets,
// or by Qt answering another program's request.
class PasteMimeData final : public QMimeData
{
    Q_OBJECT
public:
    PasteMimeData(const QString& text, std::unique_ptr<QMimeData> replaced);
    ~PasteMimeData() override;

    const QMimeData* replaced() const { return m_replaced.get(); }

signals:
    void fetched();

protected:
    QVariant retrieveData(const QString& mimeType, QMetaType type) const override;

private:
    std::unique_ptr<QMimeData> m_replaced;
};
