#include "appmatch.h"

#include "focussource.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace {
// A title wildcard as a regular expression for the whole title: * any text (slashes
// too, unlike a path pattern), ? one character, everything else itself.
QRegularExpression titlePattern(const QString& wildcard)
{
    QString expression;
    for (const QChar c : wildcard) {
        if (c == QLatin1Char('*'))
            expression += QLatin1String(".*");
        else if (c == QLatin1Char('?'))
            expression += QLatin1Char('.');
        else
            expression += QRegularExpression::escape(QString(c));
    }
    return QRegularExpression(QRegularExpression::anchoredPattern(expression),
                              QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
}
} // namespace

bool AppMatch::readNames(const QJsonValue& value, const char* field, QStringList* names, QString* why)
{
    names->clear();
    if (value.isUndefined() || value.isNull())
        return true;
    if (!value.isArray()) {
        *why = QStringLiteral("\"%1\" is not an array of names").arg(QLatin1String(field));
        return false;
    }
    const QJsonArray array = value.toArray();
    if (array.size() > kMaxNames) {
        *why = QStringLiteral("\"%1\" names more than %2").arg(QLatin1String(field)).arg(kMaxNames);
        return false;
    }
    for (const QJsonValue& name : array) {
        const QString text = name.toString().trimmed();
        if (!name.isString() || text.isEmpty() || text.size() > kMaxNameLength) {
            *why = QStringLiteral("\"%1\" holds %2, not a name of 1 to %3 characters")
                       .arg(QLatin1String(field), QString::fromUtf8(QJsonDocument(QJsonArray{name}).toJson(QJsonDocument::Compact)))
                       .arg(kMaxNameLength);
            return false;
        }
        if (!names->contains(text, Qt::CaseInsensitive))
            names->append(text);
    }
    return true;
}

AppMatch AppMatch::fromPage(const QJsonObject& page, QString* problem)
{
    AppMatch match;
    QString why;
    if (!readNames(page.value("apps"), "apps", &match.m_apps, &why)
        || !readNames(page.value("titles"), "titles", &match.m_titlePatterns, &why)) {
        if (problem)
            *problem = why;
        return {};
    }
    for (const QString& pattern : std::as_const(match.m_titlePatterns))
        match.m_titles.append(titlePattern(pattern));
    return match;
}

bool AppMatch::matches(const FocusedWindow& window) const
{
    bool named = false;
    for (const QString& app : m_apps) {
        for (const QString* candidate : {&window.appId, &window.instance, &window.program})
            named = named || candidate->compare(app, Qt::CaseInsensitive) == 0;
    }
    if (!named)
        return false;
    if (m_titles.isEmpty())
        return true;
    for (const QRegularExpression& title : m_titles) {
        if (title.match(window.title).hasMatch())
            return true;
    }
    return false;
}
