#pragma once

#include "core/modBranch.h"
#include "query/BranchChoice.h"

#include <QObject>
#include <QPointer>

class DropDownComboBox;
class QWidget;
class frmBranch;

// A report screen's branch choice: the combo `cboBranch` with "(全部)", "(部分)" (which opens
// the screen's branch picker) and the names of the user's branches, filled on the first
// drop-down from the branch lists or, failing those, from `fallbackTable`.
//
// A name typed into the combo counts only when it is one of the listed branches: anything
// else is refused with a message, so a branch the user may not see never reaches the SQL.
class BranchCriterion : public QObject
{
    Q_OBJECT
public:
    BranchCriterion(DropDownComboBox* combo, const QString& fallbackTable, QWidget* screen);

    // Items 0 and 1 only, "(全部)" chosen; the branch names come on the next drop-down.
    void reset();

    // The current choice; false when there is nothing to query: "(部分)" with no branch ticked
    // (the picker then opens), a name that is not one of the user's branches, or privileges
    // that cannot be read (the database's reason). The user is told why as a refusal of the
    // screen (ReportScreen::Refuse: after a refresh is over, with the screen usable); `reason`
    // receives the message.
    bool choose(BranchChoice* choice, QString* reason = nullptr);
    // The same choice read without telling the user anything (for lists that follow the
    // branch): false, with the message `choose` would show, when there is nothing to query.
    bool read(BranchChoice* choice, QString* problem = nullptr);

    // A branch choice kept in saved criteria ("#0", "#1" with the ticked `ids`, or a branch's
    // name): the reason it cannot be made now (a branch the user may no longer see, none of the
    // ids left), empty when it can.
    QString refusalOfSaved(const QString& value, const QStringList& ids);
    // Makes that choice: the picker's boxes ticked without opening it.
    void applySaved(const QString& value, const QStringList& ids);

    DropDownComboBox* combo() const { return m_combo; }
    frmBranch* picker() const; // null until first opened

private:
    frmBranch* ensurePicker();

    DropDownComboBox* m_combo;
    QString m_fallbackTable;
    QWidget* m_screen;
    QPointer<frmBranch> m_picker;
};
