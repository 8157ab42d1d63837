#include "core/modMessage.h"

#include "core/CjkFont.h"
#include "core/HostContext.h"
#include "core/IQueryItems.h"
#include "core/cLanguage.h"
#include "core/modPublic.h"
#include "framework/HostUi.h"
#include "framework/QtTranslation.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QMenu>
#include <QSettings>
#include <QToolBar>
#include <QToolButton>

#include <memory>

namespace {

// The message table: key and built-in default, in load order.
const QList<QPair<QString, QString>> kMessageTable = {
    {"Msg_Title", "提示"},
    {"Msg_NotSupport", "您所使用的软件版本不提供该功能模块!"},
    {"Msg_ToUpgrade", "如果要升级您的软件版本,请与您的供应商或者我们联系."},
    {"Msg_Report_Loading", "正在生成报表..."},
    {"Msg_Report_Finished", "报表已经生成。"},
    {"Msg_Report_Rows", "已读取 %1 笔记录"},
    {"Msg_Report_RowsOf", "已读取 %1 / %2 笔记录"},
    {"Msg_Report_Partial", "（已停止，不完整）"},
    {"Msg_Report_Refresh", "请设置查询的条件， 点击\"刷新\"按钮即可生成报表。"},
    {"Msg_Report_LargeFont", "/fn\"幼圆\"/fz\"20\"/fb1/fi0/fu0/fk0/fs1"},
    {"Msg_Report_SmallFont", "/fn\"宋体\"/fz\"12\"/fb0/fi0/fu0/fk0/fs2"},
    {"Msg_Report_Footer", "/n/f2/c 第/p页，共/pc页 /n"},
    {"Msg_Report_Header_From", "统计时间: 从"},
    {"Msg_Report_Header_To", "到"},
    {"Msg_IsSentMenu_NotInclude", "不包含赠送菜"},
    {"Msg_IsSentMenu_Only", "仅查询赠送菜"},
    {"Msg_IsSentMenu_All", "包含赠送菜"},
    {"Msg_Button_Refresh", "刷新"},
    {"Msg_Button_FullScreen", "全屏"},
    {"Msg_Button_Open", "打开"},
    {"Msg_Button_Save", "保存"},
    {"Msg_Button_Print", "打印"},
    {"Msg_Button_Help", "帮助"},
    {"Msg_Button_Exit", "退出"},
    {"Msg_Button_Prev", "前单"},
    {"Msg_Button_Next", "后单"},
    {"Msg_Button_Charting", "图表"},
    {"Msg_Button_Move", "移动"},
    {"Msg_Button_Scale", "缩放"},
    {"Msg_Button_Zoom", "放大"},
    {"Msg_Button_Rotate", "旋转"},
    {"Msg_Button_Period", "请选择时间段  "},
    {"Msg_Button_SaveCriteria", "保存条件"},
    {"Msg_Date_Today", "今天"},
    {"Msg_Date_FromCurWeek", "本周以来"},
    {"Msg_Date_FromCurMonth", "本月以来"},
    {"Msg_Date_InCurWeek", "本周内"},
    {"Msg_Date_InCurMonth", "本月内"},
    {"Msg_Date_Yesterday", "昨天"},
    {"Msg_Date_LastWeek", "上周"},
    {"Msg_Date_LastMonth", "上月"},
    {"Msg_Date_InCurYear", "今年"},
    {"Msg_Date_LastYear", "去年"},
    {"Msg_Drill_None", "这一行没有可以打开的账单。"},
    {"Msg_Drill_Compared", "对比的数字没有本期的账单：请双击本期的数字。"},
    {"Msg_Compare_None", "无"},
    {"Msg_Compare_Previous", "上期"},
    {"Msg_Compare_LastYear", "去年同期"},
    {"Msg_Compare_PreviousColumn", "上期%1"},
    {"Msg_Compare_LastYearColumn", "去年%1"},
    {"Msg_Compare_ChangeColumn", "%1增减"},
    {"Msg_Compare_PercentColumn", "%1增减%"},
    {"Msg_Compare_Date", "对比日期"},
    {"Msg_Criteria_List", "已存条件:"},
    {"Msg_Criteria_Choose", "(选择)"},
    {"Msg_Criteria_NoName", "请输入条件的名称。"},
    {"Msg_Criteria_NoPeriod", "“%1”不是可以保存的日期范围。"},
    {"Msg_Criteria_Replace", "已有名为“%1”的条件，要替换它吗？"},
    {"Msg_Criteria_CannotSave", "条件未能保存：%1"},
    {"Msg_Criteria_SavedAs", "条件已保存为“%1”。"},
    {"Msg_Criteria_NotFound", "没有名为“%1”的已存条件。"},
    {"Msg_Criteria_Opened", "已打开条件“%1”，点击\"刷新\"按钮即可生成报表。"},
    {"Msg_Criteria_Skipped", "已打开条件“%1”，以下条件本屏幕已没有或不能设置，已略过：%2"},
    {"Msg_Chart_Bar", "条形图"},
    {"Msg_Chart_StackingBar", "堆叠条形图"},
    {"Msg_Chart_Area", "面积图"},
    {"Msg_Chart_Pie", "饼图"},
    {"Msg_Chart_Plot", "点线图"},
    {"Msg_Chart_Bubble", "泡沫图"},
    {"Msg_Chart_Candle", "烛台图"},
    {"Msg_Chart_FilledRadar", "雷达图"},
    {"Msg_Chart_HiLo", "高低图"},
    {"Msg_Chart_HiLoOpenClose", "高低开合图"},
    {"Msg_Period_ToSelect", "请选择要统计的餐段，至少必须选择一个餐段！"},
    {"Msg_Query_OutOfDate", "结束日期不能小于开始日期，请调整时间段！"},
    {"Msg_dtpCustomFormat", "yyyy年MM月dd日"},
    {"Msg_ComboBox_All", "(全部)"},
    {"Msg_ComboBox_Part", "(部分)"},
    {"Msg_Chart_Others", "其他"},
};

struct MessageState
{
    std::unique_ptr<cLanguage> language;
    QHash<QString, QString> messages;
    bool loaded = false;
};

MessageState& state()
{
    static MessageState s;
    return s;
}

// Toolbar button keys and drop-down entry keys (lower case) with their messages.
const QHash<QString, QString>& buttonMessages()
{
    static const QHash<QString, QString> table = [] {
        QHash<QString, QString> t;
        for (const char* key :
             {"Refresh", "FullScreen", "Open", "Save", "Print", "Help", "Exit", "Prev", "Next",
              "Charting", "Move", "Scale", "Zoom", "Rotate", "Period", "SaveCriteria"})
            t.insert(QString::fromLatin1(key).toLower(),
                     QStringLiteral("Msg_Button_") + QString::fromLatin1(key));
        return t;
    }();
    return table;
}

const QHash<QString, QString>& menuMessages()
{
    static const QHash<QString, QString> table = [] {
        QHash<QString, QString> t;
        for (const char* key : {"Today", "FromCurWeek", "FromCurMonth", "InCurWeek", "InCurMonth"})
            t.insert(QString::fromLatin1(key).toLower(),
                     QStringLiteral("Msg_Date_") + QString::fromLatin1(key));
        const QList<QPair<const char*, const char*>> charts = {
            {"oc2dTypeBar", "Msg_Chart_Bar"},
            {"oc2dTypeStackingBar", "Msg_Chart_StackingBar"},
            {"oc2dTypeArea", "Msg_Chart_Area"},
            {"oc2dTypePie", "Msg_Chart_Pie"},
            {"oc2dTypePlot", "Msg_Chart_Plot"},
            {"oc2dTypeBubble", "Msg_Chart_Bubble"},
            {"oc2dTypeCandle", "Msg_Chart_Candle"},
            {"oc2dTypeFilledRadar", "Msg_Chart_FilledRadar"},
            {"oc2dTypeHiLo", "Msg_Chart_HiLo"},
            {"oc2dTypeHiLoOpenClose", "Msg_Chart_HiLoOpenClose"}};
        for (const auto& [key, message] : charts)
            t.insert(QString::fromLatin1(key).toLower(), QString::fromLatin1(message));
        return t;
    }();
    return table;
}

// Widgets show a line break as "\n"; the language file's texts carry a carriage return.
QString toScreen(QString text)
{
    return text.replace(QChar(13), QChar(10));
}
QString fromScreen(QString text)
{
    return text.replace(QChar(10), QChar(13));
}

void translateMenu(QMenu* menu)
{
    if (!menu)
        return;
    for (QAction* entry : menu->actions()) {
        const QString message = menuMessages().value(entry->objectName().toLower());
        if (!message.isEmpty())
            entry->setText(Msg(message));
    }
}

void translateItem(cLanguage& language, const QString& controlName, IQueryItem& item)
{
    const QString fieldText = item.fieldText();
    const qsizetype bar = fieldText.indexOf(QLatin1Char('|'));
    const QString field = bar < 0 ? fieldText : fieldText.left(bar);
    const QString key = bar < 0 ? fieldText : fieldText.mid(bar + 1);
    item.setFieldText(field);
    if (!key.isEmpty())
        item.setCaption(language.getValue(controlName, key, item.caption()));
    for (int i = 0; i < item.subItemCount(); ++i)
        if (IQueryItem* sub = item.subItem(i))
            translateItem(language, controlName, *sub);
}

} // namespace

int ReadLanguageSetting()
{
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Valtrix"),
                       QStringLiteral("Valtrix"));
    const QString text =
        settings.value(QStringLiteral("Language/Language"), QStringLiteral("0")).toString();
    return RoundHalfEven(LeadingNumber(text));
}

void LoadMessageTable()
{
    MessageState& s = state();
    HostContext& context = hostContext();
    context.LanguageCode = ReadLanguageSetting();
    CjkFont::setLanguageCode(context.LanguageCode);
    s.language = std::make_unique<cLanguage>();
    s.language->setAppExeName(PluginBaseName());
    s.language->setLanguage(context.LanguageCode);
    UseQtTranslation(s.language->Language()); // Qt's own buttons and dialogs in the same language
    s.language->setSection(QStringLiteral("Main"));
    context.Language = s.language.get();
    s.messages.clear();
    for (const auto& [key, defaultText] : kMessageTable)
        s.messages.insert(key, s.language->getValue(key, QString(), defaultText));
    s.loaded = true;
}

const QList<QPair<QString, QString>>& MessageTableDefaults()
{
    return kMessageTable;
}

QString Msg(const QString& key)
{
    const MessageState& s = state();
    if (s.loaded)
        return s.messages.value(key);
    for (const auto& [tableKey, defaultText] : kMessageTable)
        if (tableKey == key)
            return defaultText;
    return QString();
}

QMessageBox::StandardButton MsgBox(const QString& text, QMessageBox::Icon icon,
                                   QMessageBox::StandardButtons buttons, QWidget* parent)
{
    return HostUi::messageBox(parent, icon, Msg(QStringLiteral("Msg_Title")), toScreen(text),
                              buttons);
}

QString MsgText(const QString& key, const QString& defaultText)
{
    cLanguage* language = hostContext().Language;
    if (!language)
        return defaultText;
    const QString section = language->Section();
    language->setSection(QStringLiteral("Main"));
    const QString text = language->getValue(key, QString(), defaultText);
    language->setSection(section);
    return text;
}

QString LanguageText(const QString& textGB, const QString& textBig, const QString& textEnglish)
{
    switch (hostContext().LanguageCode) {
    case 2:
        return textBig;
    case 3:
        return textEnglish;
    default:
        return textGB;
    }
}

void TranslateCaption(QWidget* control)
{
    cLanguage* language = hostContext().Language;
    if (!language || !control || control->objectName().isEmpty())
        return;
    const QString name = control->objectName();
    const QString caption = QStringLiteral("Caption");
    if (auto* label = qobject_cast<QLabel*>(control))
        label->setText(toScreen(language->getValue(name, caption, fromScreen(label->text()))));
    else if (auto* button = qobject_cast<QAbstractButton*>(control))
        button->setText(toScreen(language->getValue(name, caption, fromScreen(button->text()))));
    else if (auto* group = qobject_cast<QGroupBox*>(control))
        group->setTitle(toScreen(language->getValue(name, caption, fromScreen(group->title()))));
    else
        control->setWindowTitle(
            toScreen(language->getValue(name, caption, fromScreen(control->windowTitle()))));
}

void TranslateToolbar(QToolBar* toolbar)
{
    if (!toolbar)
        return;
    for (QAction* button : toolbar->actions()) {
        button->setToolTip(QString());
        const QString message = buttonMessages().value(button->objectName().toLower());
        if (!message.isEmpty())
            button->setText(Msg(message));
        translateMenu(button->menu());
        if (auto* toolButton = qobject_cast<QToolButton*>(toolbar->widgetForAction(button))) {
            toolButton->setToolTip(QString());
            if (toolButton->menu() != button->menu())
                translateMenu(toolButton->menu());
        }
    }
}

void TranslateQueryControl(QWidget* screen, QWidget* control)
{
    cLanguage* language = hostContext().Language;
    auto* items = dynamic_cast<IQueryItems*>(control);
    if (!language || !screen || !items)
        return;
    const QString controlName = control->objectName();
    language->setSection(screen->objectName());
    items->setTitle(language->getValue(controlName, QStringLiteral("Title"), items->title()));
    for (int i = 0; i < items->queryItemCount(); ++i)
        if (IQueryItem* item = items->queryItem(i))
            translateItem(*language, controlName, *item);
}
