#include "query/SavedCriteria.h"

#include "core/modPublic.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSettings>
#include <QUrl>

#include <algorithm>

namespace {

constexpr int kFormat = 1;

QSettings store()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Valtrix"),
                     PluginBaseName());
}

} // namespace

QString SavedCriteria::value(const QString& control) const
{
    for (const auto& [name, value] : values)
        if (name == control)
            return value;
    return {};
}

bool SavedCriteria::has(const QString& control) const
{
    return std::any_of(values.begin(), values.end(),
                       [&](const auto& v) { return v.first == control; });
}

SavedCriteriaStore::SavedCriteriaStore(const QString& userId, const QString& screen)
    // The user and screen names are kept out of the settings' own syntax ("/", "\").
    : m_key(QStringLiteral("SavedCriteria/") +
            QString::fromLatin1(QUrl::toPercentEncoding(userId.trimmed().toLower())) +
            QLatin1Char('/') + QString::fromLatin1(QUrl::toPercentEncoding(screen)))
{
}

QByteArray SavedCriteriaStore::toJson(const QList<SavedCriteria>& sets)
{
    QJsonArray list;
    for (const SavedCriteria& s : sets) {
        QJsonArray values;
        for (const auto& [name, value] : s.values)
            values.append(QJsonArray{name, value});
        QJsonObject o{
            {"name", s.name}, {"savedOn", s.savedOn.toString(Qt::ISODate)}, {"values", values}};
        if (s.isRelative())
            o.insert("period", s.period);
        if (!s.branchIds.isEmpty())
            o.insert("branchIds", QJsonArray::fromStringList(s.branchIds));
        list.append(o);
    }
    return QJsonDocument(QJsonObject{{"format", kFormat}, {"sets", list}})
        .toJson(QJsonDocument::Compact);
}

QList<SavedCriteria> SavedCriteriaStore::fromJson(const QByteArray& json)
{
    QList<SavedCriteria> sets;
    const QJsonArray list = QJsonDocument::fromJson(json).object().value("sets").toArray();
    for (const QJsonValue& v : list) {
        const QJsonObject o = v.toObject();
        SavedCriteria s;
        s.name = o.value("name").toString();
        if (s.name.isEmpty())
            continue;
        s.period = o.value("period").toString();
        s.savedOn = QDate::fromString(o.value("savedOn").toString(), Qt::ISODate);
        for (const QJsonValue& pair : o.value("values").toArray()) {
            const QJsonArray p = pair.toArray();
            if (p.size() == 2 && p[0].isString() && p[1].isString())
                s.values.append({p[0].toString(), p[1].toString()});
        }
        for (const QJsonValue& id : o.value("branchIds").toArray())
            s.branchIds.append(id.toString());
        sets.append(s);
    }
    return sets;
}

QList<SavedCriteria> SavedCriteriaStore::all() const
{
    return fromJson(store().value(m_key).toString().toUtf8());
}

bool SavedCriteriaStore::write(const QList<SavedCriteria>& sets, QString* reason)
{
    QSettings settings = store();
    if (sets.isEmpty())
        settings.remove(m_key);
    else
        settings.setValue(m_key, QString::fromUtf8(toJson(sets)));
    settings.sync();
    if (settings.status() == QSettings::NoError)
        return true;
    if (reason)
        *reason = settings.fileName();
    return false;
}

QStringList SavedCriteriaStore::names() const
{
    QStringList names;
    for (const SavedCriteria& s : all())
        names.append(s.name);
    return names;
}

std::optional<SavedCriteria> SavedCriteriaStore::find(const QString& name) const
{
    for (const SavedCriteria& s : all())
        if (s.name == name)
            return s;
    return std::nullopt;
}

bool SavedCriteriaStore::save(const SavedCriteria& set, QString* reason)
{
    QList<SavedCriteria> sets = all();
    auto same = std::find_if(sets.begin(), sets.end(),
                             [&](const SavedCriteria& s) { return s.name == set.name; });
    if (same != sets.end())
        *same = set;
    else
        sets.append(set);
    return write(sets, reason);
}

bool SavedCriteriaStore::remove(const QString& name)
{
    QList<SavedCriteria> sets = all();
    const auto removed = sets.removeIf([&](const SavedCriteria& s) { return s.name == name; });
    return removed > 0 && write(sets, nullptr);
}
