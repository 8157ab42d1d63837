#include "reports/charts/frmMenuLine.h"

#include "core/HostContext.h"
#include "core/modMessage.h"
#include "core/mod_ADO.h"
#include "db/Recordset.h"
#include "framework/DataList.h"
#include "query/ScreenSpec.h"
#include "reports/bills/BillItemQuerySql.h"
#include "reports/bills/frmBillItemQuery.h"
#include "ui/CriteriaBar.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QCompleter>
#include <QLineEdit>
#include <QStringListModel>

#include <stdexcept>

namespace {

using K = CriterionKind;
using C = MenuLineCriteria;

const ScreenSpec kSpec{
    .name = "frmMenuLine",
    .title = "销售出品走势图",
    .size = {11070, 7980},
    .criteria = CriteriaOf<C, ChartLineCriteria>(MenuLineStatement),
    .branch = {MenuLineBranch},
    .rows =
        {
            {BeginDate, EndDate, BranchCriterionSpec(), Compare},
            {{.name = "lblSumBy", .kind = K::Label, .label = "请选择走势图类型:", .width = 1700},
             {.name = "optSumBy_0", .kind = K::Option, .width = 1500, .text = "销售额走势图"},
             {.name = "optSumBy_1",
              .kind = K::Option,
              .width = 1500,
              .text = "销售量走势图",
              .into = Into(&C::quantity)},
             {.name = "optGroupBy_0",
              .kind = K::Option,
              .width = 1300,
              .text = "按部门类别",
              .into = Into(&C::subject)},
             {.name = "optGroupBy_1", .kind = K::Option, .width = 1300, .text = "按菜品类别"},
             {.name = "optGroupBy_2", .kind = K::Option, .width = 1000, .text = "按菜品"}},
            {{.name = "cboDepartType",
              .kind = K::List,
              .width = 2900,
              .into = Into(&C::departType)},
             {.name = "cboMenuType", .kind = K::List, .width = 2500, .into = Into(&C::menuType)},
             {.name = "cboMenu", .kind = K::List, .width = 3900, .into = Into(&C::menuText)}},
            {DailyLinePeriods},
            {IsSentMenuSpec(Into(&C::gifts)), UseTrueData, Saving},
        },
    .texts =
        {
            {"Msg_DepartType_Choose", "(请选择部门类别)"},
            {"Msg_MenuType_Choose", "(请选择菜品类别)"},
            {"Msg_Menu_Choose", "(请输入菜品编码/名称/拼音码)"},
            {"Msg_Input_DepartTypeName", "请选择要统计的部门类别！"},
            {"Msg_Input_MenuType", "请选择要统计的菜品类别！"},
            {"Msg_Input_MenuName", "请选择要统计的菜品！"},
            {"Msg_DepartName", " 部门类别-"},
            {"Msg_MenuTypeName", " 菜品类别-"},
            {"Msg_MenuName", " 菜品-"},
            {"Msg_MonthDay_Format", "%m月%d日"},
            {"Msg_Total", "合计:"},
            {"Msg_MaxValue", "  最大值:"},
            {"Msg_AvgValue", "  日平均值:"},
            {"Msg_Date", "日期"},
        },
};

const char* const SubjectCombos[] = {"cboDepartType", "cboMenuType", "cboMenu"};
const char* const ChooseKeys[] = {"Msg_DepartType_Choose", "Msg_MenuType_Choose",
                                  "Msg_Menu_Choose"};
const char* const MissingKeys[] = {"Msg_Input_DepartTypeName", "Msg_Input_MenuType",
                                   "Msg_Input_MenuName"};
const char* const TitleKeys[] = {"Msg_DepartName", "Msg_MenuTypeName", "Msg_MenuName"};

} // namespace

frmMenuLine::frmMenuLine(QWidget* parent) : DailyLineScreen(kSpec, parent)
{
    QComboBox* menu = m_criteria->combo("cboMenu");
    menu->setEditable(true);
    menu->setInsertPolicy(QComboBox::NoInsert);
    m_offered = new QStringListModel(this);
    m_completer = new QCompleter(m_offered, this);
    m_completer->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    m_completer->setCaseSensitivity(Qt::CaseInsensitive);
    menu->setCompleter(m_completer);
    connect(menu->lineEdit(), &QLineEdit::textEdited, this, &frmMenuLine::menuTextEdited);
    connect(m_completer, qOverload<const QString&>(&QCompleter::activated), this,
            [menu](const QString& name) {
                const int index = menu->findText(name, Qt::MatchExactly);
                if (index > 0)
                    menu->setCurrentIndex(index);
            });
    for (int g = 0; g < 3; ++g) {
        auto* option = static_cast<QAbstractButton*>(
            m_criteria->control(QStringLiteral("optGroupBy_%1").arg(g).toLatin1().constData()));
        connect(option, &QAbstractButton::toggled, this, [this] { subjectKindChosen(); });
    }
}

frmMenuLine::~frmMenuLine() = default;

QList<int> frmMenuLine::narrowMenus(const QList<MenuEntry>& menus, const QString& typed)
{
    const QString text = typed.trimmed();
    QList<int> offered;
    for (int i = 0; i < menus.size(); ++i) {
        const MenuEntry& m = menus.at(i);
        if (text.isEmpty() || m.code.startsWith(text, Qt::CaseInsensitive) ||
            m.spell.startsWith(text, Qt::CaseInsensitive) ||
            m.name.contains(text, Qt::CaseInsensitive))
            offered << i;
    }
    return offered;
}

void frmMenuLine::formLoad()
{
    DailyLineScreen::formLoad();
    static_cast<QAbstractButton*>(m_criteria->control("optSumBy_0"))->setChecked(true);
    static_cast<QAbstractButton*>(m_criteria->control("optGroupBy_0"))->setChecked(true);
    loadSubjects();
    subjectKindChosen();
}

void frmMenuLine::loadSubjects()
{
    const ConnectionPtr db = hostContext().connection();
    const DataList::Kind lists[] = {DataList::DepartTypes, DataList::MenuTypes};
    for (int g = 0; g < 2; ++g) {
        QComboBox* combo = m_criteria->combo(SubjectCombos[g]);
        combo->clear();
        combo->addItem(ownText(ChooseKeys[g]));
        DataList list(lists[g], db);
        list.initialise(1, 1);
        list.load();
        MarkListFailure(combo, list.lastError());
        for (int i = 1; i <= list.Count(); ++i)
            combo->addItem(list.item(i).Name);
    }
    m_menus.clear();
    QComboBox* menu = m_criteria->combo("cboMenu");
    MarkListFailure(menu, QString());
    try { // a list that cannot be read stays empty, and says why to a script choosing from it
        auto rows = db->execute(
            QStringLiteral("SELECT MenuID, MenuName, ToSpell FROM mn_Menu ORDER BY MenuID"));
        for (; !rows->atEnd(); rows->moveNext())
            m_menus.append(
                {rows->value(0).toString(), rows->value(1).toString(), rows->value(2).toString()});
    } catch (const SqlError& e) {
        m_menus.clear();
        MarkListFailure(menu, QStringLiteral("cannot read the menu (mn_Menu): ") + e.message());
    }
    menu->clear();
    menu->addItem(ownText(ChooseKeys[2]));
    QStringList names;
    for (const MenuEntry& m : std::as_const(m_menus))
        names << m.name;
    menu->addItems(names);
    m_offered->setStringList(names);
}

void frmMenuLine::subjectKindChosen()
{
    const int chosen = m_criteria->shown(&MenuLineCriteria::subject);
    for (int g = 0; g < 3; ++g)
        m_criteria->combo(SubjectCombos[g])->setEnabled(g == chosen);
}

void frmMenuLine::menuTextEdited(const QString& text)
{
    QStringList names;
    for (int i : narrowMenus(m_menus, text))
        names << m_menus.at(i).name;
    m_offered->setStringList(names);
    if (!text.isEmpty())
        m_completer->complete();
}

QString frmMenuLine::menuNamed(const QString& shown) const
{
    const QString text = shown.trimmed();
    if (text.isEmpty() || text == ownText(ChooseKeys[MenuLineCriteria::Menu]))
        return QString();
    for (const MenuEntry& m : m_menus)
        if (m.name.compare(text, Qt::CaseInsensitive) == 0 ||
            m.code.compare(text, Qt::CaseInsensitive) == 0)
            return m.name;
    const QList<int> offered = narrowMenus(m_menus, text);
    return offered.size() == 1 ? m_menus.at(offered.first()).name : QString();
}

void frmMenuLine::completeCriteria(CriteriaValue& criteria)
{
    MenuLineCriteria& c = criteria.as<MenuLineCriteria>();
    if (c.subject < MenuLineCriteria::DepartType || c.subject > MenuLineCriteria::Menu)
        c.subject = MenuLineCriteria::DepartType;
    c.gifts = std::clamp(c.gifts, 0, 2);
    // The first item of each list asks for a choice; a menu may be typed.
    const QString shown[] = {c.departType, c.menuType};
    if (c.subject == MenuLineCriteria::Menu)
        c.subjectName = menuNamed(c.menuText);
    else if (shown[c.subject] != ownText(ChooseKeys[c.subject]))
        c.subjectName = shown[c.subject];
}

void frmMenuLine::cmdQuery1()
{
    const CriteriaValue criteria = readCriteria(); // throws when refused (the user was told)
    const MenuLineCriteria& c = criteria.as<MenuLineCriteria>();
    if (c.subjectName.isEmpty()) {
        const QString refusal = ownText(MissingKeys[c.subject]);
        Refuse(this, refusal);
        throw std::runtime_error(refusal.toStdString());
    }
    const DailyLine line = readLine(criteria);
    const std::optional<DailyLine> compared = readComparedLine(criteria);

    const char* measure = c.quantity ? "optSumBy_1" : "optSumBy_0";
    const QString title = ownText(TitleKeys[c.subject]) + c.subjectName + QLatin1Char(' ') +
                          static_cast<QAbstractButton*>(m_criteria->control(measure))->text();
    Drawing drawing;
    drawing.header = dateText(c.range.begin) +
                     (line.days() > 1 ? QLatin1Char('-') + dateText(c.range.end) : QString()) +
                     title;
    // The footer's figures keep the chart's own "0.00" form, without thousands separators.
    drawing.footer = ownText("Msg_Total") + line.total().toString(2) + ownText("Msg_MaxValue") +
                     line.maximum().toString(2) + ownText("Msg_AvgValue") +
                     line.average().toString(2);
    drawing.seriesLabel = c.subjectName;
    drawing.yAxisFromMaximum = true;
    drawing.comparedLabel = comparedLabel(criteria);
    drawLine(line, drawing, compared);
    m_drawnSubject = std::clamp(c.subject, int(C::DepartType), int(C::Menu));
    m_drawnName = c.subjectName;
    m_drawnPeriods = c.periods;
}

bool frmMenuLine::drillTo(int row, int column)
{
    // Line 2, the compared line, opens the compared range's day i.
    const DailyLine* drawn = column == 2 && comparedLine() ? &*comparedLine() : &line();
    if (m_drawnName.isEmpty() || row < 1 || row > std::min(line().days(), drawn->days()) ||
        column < 0 || column > (comparedLine() ? 2 : 1)) {
        setLastError(Msg(QStringLiteral("Msg_Drill_None")));
        return false;
    }
    static const char* const Keys[] = {"DepartTypeName", "MenuTypeName", "MenuName"};
    static const DrillSpec lines{.make = []() -> ReportScreen* { return new frmBillItemQuery; },
                                 .view = ItemLines};
    const QString day = drawn->day(row - 1).toString(QStringLiteral("yyyy-MM-dd"));
    // The gift scope goes along by name (cboIsSentMenu), as the branch and options do.
    return openDrilled(lines,
                       {{QStringLiteral("dtpBegin"), day},
                        {QStringLiteral("dtpEnd"), day},
                        {QStringLiteral("BillPeriods"), m_drawnPeriods.join(QLatin1Char('\n'))},
                        {QString::fromLatin1(Keys[m_drawnSubject]), m_drawnName}});
}
