#pragma once

#include "core/LanguageSection.h"
#include "core/modBranch.h"
#include "query/CriteriaValue.h"
#include "query/ScreenSpec.h"

#include <QDate>
#include <QHash>
#include <QList>
#include <QObject>

#include <functional>

class BranchCriterion;
class QButtonGroup;
class MealPeriodBoxes;
class QComboBox;
class QWidget;

// The criteria controls of a report screen, made from its description (ScreenSpec::rows): each
// control and its label created on the criteria bar and placed row by row, their texts for the
// screen's language section, the rows of the English re-flow, the combos' lists, and the values
// of all criteria read in one pass into the report's criteria type (read()).
//
// The declaration is checked when the bar is made; std::logic_error names what is wrong: a name
// used twice, a list following a criterion the screen does not declare, a control that holds a
// value but is read into nothing, a binding to a member its control cannot give or of a type
// that is not the report's. A misspelled or forgotten criterion is never an empty filter.
//
// Placement, in twips from the bar: rows 360 apart from 60; a label and its control side by
// side, the next pair 120 further on (or at the control's own `left`).
class CriteriaBar : public QObject
{
    Q_OBJECT
public:
    // Places a widget on the bar: left, top, width and height in twips.
    using Place = std::function<void(QWidget*, int, int, int, int)>;
    // Fills a list of the screen's own (ListSource::Screen) after its "(全部)".
    using ListFill = std::function<void(const QString& name, QComboBox* combo)>;

    CriteriaBar(const std::vector<std::vector<CriterionSpec>>& rows,
                const std::vector<const char*>& viewOptions, const CriteriaType& criteria,
                QWidget* bar, const Place& place);
    ~CriteriaBar() override;

    static constexpr int RowHeight = 300;
    void setListFill(const ListFill& fill) { m_listFill = fill; }
    // The columns a sort criterion (ListSource::Columns) lists: the first view's, whose query
    // control's texts in the language section (`control`) name them.
    void setSortColumns(const std::vector<ColumnSpec>& columns, const QString& control)
    {
        m_sortColumns = columns;
        m_sortControl = control;
    }
    int heightTwips() const { return m_heightTwips; }

    // The starting state, as a screen's load sets it: list combos hold "(全部)" (their items
    // come on the first drop-down), fixed lists their first item, the branch combo "(全部)" and
    // "(部分)", the first view chosen, every meal period ticked. Fixed items of the screen's own
    // are read from `texts`.
    void load(const LanguageSection* texts);

    // The texts of the controls for the screen's language section.
    std::vector<LanguageEntry> languageEntries() const;
    // The controls row by row, labels before their controls, for the English re-flow.
    QList<QList<QWidget*>> englishRows() const;

    // Every bound criterion read into a new value of the report's criteria type, in the order of
    // the declaration. Throws std::runtime_error with the reason, after telling the user, when a
    // criterion leaves nothing to query: a branch choice refused, no meal period ticked.
    CriteriaValue read() const;
    // The criteria as the bar shows them, telling the user nothing: a criterion that leaves
    // nothing to query keeps its default, and `problem` receives the reason.
    CriteriaValue readAsShown(QString* problem = nullptr) const;
    // One criterion as the bar shows it, named by the member it is read into (for handlers that
    // follow one control); throws std::logic_error when no control is read into that member.
    template <class C, class M> M shown(M C::*member) const
    {
        return CriterionValueAs<M>(shownValue(typeid(C), MemberKey(member)));
    }

    // -- reading the criteria by name; an unknown name is a programming error (std::logic_error)
    // The chosen item's text when one after "(全部)" is chosen from the list (typing its exact
    // text counts); empty for "(全部)" and for typed text that matches no item.
    QString chosen(const char* name) const;
    // The combo's item index (-1 for typed text that matches no item).
    int choice(const char* name) const;
    // The text as shown (free-text combos and text boxes).
    QString text(const char* name) const;
    bool checked(const char* name) const;
    QDate date(const char* name) const;
    // The branch combo's choice; false when it leaves nothing to query (the user was told why).
    bool branch(BranchChoice* choice, QString* reason) const;
    // The branch choice for a statement; throws std::runtime_error with the message shown
    // when it leaves nothing to query (a screen's refusal to run).
    BranchChoice requireBranch() const;
    // The same, telling the user nothing (lists that follow the branch read it so).
    bool branchAsShown(BranchChoice* choice) const;
    // The names of the ticked meal periods, in list order; false, after telling the user, when
    // none is ticked; false with the reason when the meal periods cannot be read (dd_Period
    // missing, locked or damaged) or there are none.
    bool mealPeriodNames(QStringList* names, QString* reason) const;
    // MealPeriodCondition over the ticked meal periods; false, after telling the user, when
    // none is ticked.
    bool mealPeriods(const QString& column, QString* condition, QString* reason,
                     const QString& close = QStringLiteral("' ")) const;
    // The view chosen with the view options (optQuery1..n, or optQuery_0.. by index), from 0.
    int view() const;
    void setView(int view);

    // The criteria as they stand, each as applyCriterion sets it back, in the order of the
    // declaration (so that a list follows its owner): dates as yyyy-MM-dd, boxes as 0 or 1, the
    // chosen option of each group and the chosen view as 1, a list's "(全部)" and fixed items
    // as "#n" (the same whatever the language), other list items and typed texts as text, the
    // branch choice as "#0", "#1" (its ticked branches' ids in *branchIds) or the branch's
    // name. Controls hidden from the user, buttons and labels are left out.
    QList<QPair<QString, QString>> snapshot(QStringList* branchIds) const;

    QWidget* control(const char* name) const;
    // Whether the bar has a control of that name (criteria shared by screens that differ).
    bool has(const char* name) const { return find(name); }
    QComboBox* combo(const char* name) const;
    BranchCriterion* branchCriterion() const { return m_branch; }

signals:
    void viewChosen(int view);

private:
    struct Built
    {
        const CriterionSpec* spec;
        QWidget* label = nullptr;
        QList<QWidget*> controls;
    };
    QWidget* find(const char* name) const;
    // Moves the criteria after a hidden one on its row left into its room.
    void closeGapOf(const char* name);
    const CriterionSpec* spec(const char* name) const;
    void checkDeclaration() const;
    QVariant shownValue(std::type_index owner, const QByteArray& member) const;
    CriteriaValue readAll(bool tell, QString* problem) const;
    // The value of a bound criterion as its binding reads it; false with the reason when it
    // leaves nothing to query.
    bool valueOf(const CriterionSpec& c, bool tell, QVariant* value, QString* problem) const;
    void build(const CriterionSpec& c, int row, int* left);
    void fillOnFirstDropDown(QComboBox* combo, const CriterionSpec& c);
    void fillFromDataList(QComboBox* combo, const ListSource& source) const;
    void fillSortColumns(QComboBox* combo, const ListSource& source,
                         const LanguageSection* texts) const;
    // The number of the option chosen in the group of `name` (optBook_2: 2); -1 when none is.
    int chosenOption(const char* name) const;
    // The field of the column chosen in a sort criterion; empty when none is.
    QString sortField(const CriterionSpec& c) const;
    void followOwners();
    // Option buttons choose one of their own group only: the options named <group>_<n>
    // (optOrderBy_0, optOrderBy_1), or the view options.
    QButtonGroup* optionGroup(const QString& name);

    std::vector<std::vector<CriterionSpec>> m_rows;
    std::vector<const char*> m_viewOptions;
    CriteriaType m_type;
    QWidget* m_bar;
    Place m_place;
    ListFill m_listFill;
    std::vector<ColumnSpec> m_sortColumns;
    QString m_sortControl;
    QList<QList<Built>> m_built;
    QHash<QString, QWidget*> m_byName;
    BranchCriterion* m_branch = nullptr;
    MealPeriodBoxes* m_periods = nullptr;
    int m_periodsLeft = 0, m_periodsTop = 0;
    QList<QWidget*> m_viewButtons;
    QHash<QString, QButtonGroup*> m_optionGroups;
    int m_heightTwips = 0;
    QStringList m_gapsClosed;
    int m_lowestTwips = 0; // the lowest control's bottom, when it reaches below its row
};
