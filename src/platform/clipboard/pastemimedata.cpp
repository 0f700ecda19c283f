#include "pastemimedata.h"

PasteMimeData::PasteMimeData(const QString& text, std::unique_ptr<QMimeData> replaced)
    : m_replaced(std::move(replaced))
{
    setText(text);
}

PasteMimeData::~PasteMimeData() = default;

QVariant PasteMimeData::retrieveData(const QString& mimeType, QMetaType type) const
{
    // Reading is what tells us the paste happened; the signal is not part of the content.
    emit const_cast<PasteMimeData*>(this)->fetched();
    return QMimeData::retrieveData(mimeType, type);
}
