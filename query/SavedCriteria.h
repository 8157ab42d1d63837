#pragma once

#include <QDate>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <optional>

// A report's criteria kept under a name for one user, to be opened again on the same screen:
// each criteria control's value as it is set by name (ReportScreen::applyCriterion), in the
// order of the screen's declaration.
//
// Dates are kept either as they were (fixed) or as a date period of the date toolbar's kind
// ("LastMonth"), worked out again on the day the set is opened; a relative set moves any other
// date of the screen by the days gone by since it was saved.
struct SavedCriteria
{
    QString name;
    QString period;                        // empty: the dates are fixed
    QDate savedOn;                         // the day the set was saved
    QList<QPair<QString, QString>> values; // control name -> value
    QStringList branchIds; // the branches ticked when the branch choice is "(部分)" ("#1")

    bool isRelative() const { return !period.isEmpty(); }
    // The value kept for a control; empty when the set has none.
    QString value(const QString& control) const;
    bool has(const QString& control) const;
};

// The named sets of one user on one screen, kept in the user's settings (QSettings, INI,
// application "Valtrix", file "vtxQueryApp"), never in the database. Sets are listed in the
// order they were first saved; saving under a name in use replaces that set.
class SavedCriteriaStore
{
public:
    SavedCriteriaStore(const QString& userId, const QString& screen);

    QStringList names() const;
    std::optional<SavedCriteria> find(const QString& name) const;
    // False with the reason when the settings cannot be written.
    bool save(const SavedCriteria& set, QString* reason = nullptr);
    bool remove(const QString& name);

    // The stored form of a screen's sets, and back (sets that cannot be read are left out).
    static QByteArray toJson(const QList<SavedCriteria>& sets);
    static QList<SavedCriteria> fromJson(const QByteArray& json);

private:
    QList<SavedCriteria> all() const;
    bool write(const QList<SavedCriteria>& sets, QString* reason);
    QString m_key;
};
