#pragma once

#include "reports/charts/DailyLineScreen.h"

class QCompleter;
class QStringListModel;

// The menu sales chart: the daily sales amount or quantity of one department type, menu type
// or menu over a date range, with the total, the largest day and the daily average below the
// chart and the y axis up to 1.5 times the largest day.
//
// The menu combo narrows as the user types: a menu is offered when its code or phonetic code
// starts with the text or its name contains it (letter case aside).
class frmMenuLine : public DailyLineScreen
{
    Q_OBJECT
public:
    explicit frmMenuLine(QWidget* parent = nullptr);
    ~frmMenuLine() override;

    struct MenuEntry
    {
        QString code;  // MenuID
        QString name;  // MenuName
        QString spell; // ToSpell, the phonetic code
    };
    // The positions of the menus offered for a typed text, in list order; all for no text.
    static QList<int> narrowMenus(const QList<MenuEntry>& menus, const QString& typed);

protected:
    void cmdQuery1() override;
    void formLoad() override;
    // The subject of the line from the lists as shown: the department type or menu type
    // chosen, or the menu the menu list names (empty when none is).
    void completeCriteria(CriteriaValue& criteria) override;
    // Point ROW (from 1: the day begin + ROW - 1) of the line (COLUMN 1, or 0) opens the bill
    // item query's lines of that day: the line's department type, menu type or menu, its meal
    // periods and gift scope; their amounts or quantities add up to the point. Point ROW of the
    // compared line (COLUMN 2) opens the compared range's day ROW the same way.
    bool drillTo(int row, int column) override;

private:
    void loadSubjects();
    void subjectKindChosen();
    void menuTextEdited(const QString& text);
    // The menu a text names: a name or code exactly (an item chosen from the list), or the one
    // menu the typed text narrows to; empty otherwise.
    QString menuNamed(const QString& shown) const;

    // What the line drawn is of: the subject kind and name, and its meal periods.
    int m_drawnSubject = 0;
    QString m_drawnName;
    QStringList m_drawnPeriods;
    QList<MenuEntry> m_menus;
    QCompleter* m_completer = nullptr;
    QStringListModel* m_offered = nullptr;
};
