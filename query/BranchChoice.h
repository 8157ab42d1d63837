#pragma once

#include <QMetaType>
#include <QString>
#include <QStringList>

#include <optional>

// What a report's branch combo chose, as values; ids and names are plain values, quoted only
// where a statement's text is written.
struct BranchChoice
{
    enum Kind
    {
        All,     // item 0 "(全部)": the branches the user may see
        Several, // item 1 "(部分)": the branches ticked in the picker
        One      // item 2 and later: one branch, by name
    };
    Kind kind = All;
    QStringList ids;   // Several: the ticked branches' ids
    QStringList names; // Several: their names
    QString name;      // One: the branch name as listed
    // The user's branches when the choice was made: PrivilegedBranchIds() and
    // PrivilegedBranchNames() (nullopt: rpt_pv_Branch grants everything).
    std::optional<QStringList> privileged;
    std::optional<QStringList> privilegedNames;
};
Q_DECLARE_METATYPE(BranchChoice)
