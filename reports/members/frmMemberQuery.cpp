#include "reports/members/frmMemberQuery.h"

#include "core/HostContext.h"
#include "core/LanguageSection.h"
#include "core/modMessage.h"
#include "core/mod_ADO.h"
#include "framework/DataList.h"
#include "query/ScreenSpec.h"
#include "ui/CriteriaBar.h"
#include "ui/ctlQuery.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDateEdit>
#include <QIntValidator>
#include <QLineEdit>
#include <algorithm>

namespace {

using K = CriterionKind;
using C = MemberQueryCriteria;

CriterionSpec check(const char* name, const char* caption, int width, bool C::*into)
{
    return {.name = name, .kind = K::Check, .width = width, .text = caption, .into = Into(into)};
}

CriterionSpec option(const char* name, const char* caption, int width = 750,
                     CriterionBinding into = {})
{
    return {.name = name, .kind = K::Option, .width = width, .text = caption, .into = into};
}

// A number box: month or day of the birthday range.
CriterionSpec number(const char* name, const char* label, int labelWidth, QString C::*into)
{
    return {.name = name,
            .kind = K::Text,
            .label = label,
            .labelWidth = labelWidth,
            .width = 650,
            .into = Into(into)};
}

CriterionSpec list(const char* name, const char* label, int labelWidth, int width, QString C::*into,
                   ListSource source = {})
{
    return {.name = name,
            .kind = K::List,
            .label = label,
            .labelWidth = labelWidth,
            .width = width,
            .source = source,
            .into = Into(into)};
}

const ScreenSpec kSpec{
    .name = "frmMemberQuery",
    .title = "会员资料查询",
    .size = {11070, 7980},
    .criteria = CriteriaOf<C>(MemberQueryStatement),
    .rows =
        {
            {BeginDate, EndDate,
             check("chkAllTime", "显示全部时间内发卡的会员资料", 3300, &C::allTime)},
            {{.name = "lblBirthday", .kind = K::Label, .label = "会员生日:", .width = 900},
             option("Option1_0", "全年", 750, Into(&C::allYear)),
             option("Option1_1", "今天"),
             option("Option1_2", "本月"),
             option("Option1_3", nullptr, 300),
             number("cboMonth", nullptr, 0, &C::birthMonth),
             number("cboDay_0", "月", 250, &C::birthDayFrom),
             number("cboDay_1", "日 至", 500, &C::birthDayTo)},
            {list("cboMemberType", "卡类型:", 700, 2000, &C::memberType),
             check("chkLock", "过滤显示已挂失的会员卡", 2400, &C::lost),
             check("chkNewCard", "过滤显示新登记的会员卡", 2400, &C::newCard),
             check("chkLimit", "过滤显示已到期的会员卡", 2400, &C::expired)},
            {list("cboOrderBy", "排序方式:", 900, 1500, &C::orderBy, {.kind = ListSource::Columns}),
             option("optOrderBy_0", "顺序"),
             option("optOrderBy_1", "倒序", 750, Into(&C::descending)),
             list("cboTop", "最多显示多少条记录:", 1800, 1500, &C::top)},
        },
    .views = {{
        .title = "会员资料查询",
        .columns =
            {
                TextColumn("MemberCardID", "卡号", 1200),
                TextColumn("MemberTypeName", "卡类型", 900),
                TextColumn("MemberName", "姓名", 900),
                TextColumn("Sex", "性别", 500),
                DateColumn("BirthDate", "生日", 1100),
                TextColumn("PhoneNumber", "联系电话", 1300),
                TextColumn("MobileNumber", "手机", 1300),
                SumColumn("ConsumeSum", "消费累计", 1100),
                SumColumn("ConsumeCount", "消费次数", 900),
                SumColumn("IntegralSum", "积分累计", 1000),
                SumColumn("Balance", "存款余额", 1100),
            },
        .centred = {1, 2, 3, 4, 5},
    }},
    .texts = {{"Msg_AllCardType", "(所有卡类型)"}, {"Msg_ShowAll", "(全部显示)"}},
};

const char* const kBirthdayBoxes[] = {"cboMonth", "cboDay_0", "cboDay_1"};

} // namespace

frmMemberQuery::frmMemberQuery(QWidget* parent) : QueryReportScreen(kSpec, parent)
{
    for (int option = 0; option < 4; ++option) {
        auto* button = static_cast<QAbstractButton*>(
            m_criteria->control(QStringLiteral("Option1_%1").arg(option).toLatin1().constData()));
        connect(button, &QAbstractButton::toggled, this, [this, option](bool on) {
            if (on)
                chooseBirthday(option);
        });
    }
    // The boxes keep whole numbers in range, rewritten plainly ("05" becomes "5").
    for (const char* name : kBirthdayBoxes) {
        QComboBox* box = m_criteria->combo(name);
        const int high = qstrcmp(name, "cboMonth") == 0 ? 12 : 31;
        box->lineEdit()->setValidator(new QIntValidator(1, high, box));
        connect(box->lineEdit(), &QLineEdit::editingFinished, box, [box, high] {
            bool ok = false;
            const int n = box->currentText().trimmed().toInt(&ok);
            if (ok && n >= 1 && n <= high)
                box->setEditText(QString::number(n));
        });
    }
}

void frmMemberQuery::chooseBirthday(int option)
{
    const QDate today = QDate::currentDate();
    if (option == 1 || option == 2) {
        m_criteria->combo("cboMonth")->setEditText(QString::number(today.month()));
        m_criteria->combo("cboDay_0")->setEditText(QString::number(option == 1 ? today.day() : 1));
        m_criteria->combo("cboDay_1")->setEditText(QString::number(option == 1 ? today.day() : 31));
    }
    for (const char* name : kBirthdayBoxes)
        m_criteria->combo(name)->setEnabled(option == 3);
}

void frmMemberQuery::formLoad()
{
    const LanguageSection* texts = languageTexts();
    const QString deflt = QStringLiteral("Default");
    dtpBegin->setDate(QDate::currentDate().addDays(1 - QDate::currentDate().day()));

    for (const char* name : kBirthdayBoxes) {
        QComboBox* box = m_criteria->combo(name);
        box->clear();
        const int high = qstrcmp(name, "cboMonth") == 0 ? 12 : 31;
        for (int n = 1; n <= high; ++n)
            box->addItem(QString::number(n));
    }
    m_criteria->combo("cboMonth")->setCurrentIndex(QDate::currentDate().month() - 1);
    m_criteria->combo("cboDay_0")->setCurrentIndex(0);
    m_criteria->combo("cboDay_1")->setCurrentIndex(30);
    static_cast<QAbstractButton*>(m_criteria->control("Option1_0"))->setChecked(true);
    chooseBirthday(0);

    // The card types as the member-type list gives them, then every type (chosen).
    QComboBox* types = m_criteria->combo("cboMemberType");
    types->clear();
    DataList list(DataList::MemberTypes, hostContext().connection());
    list.initialise(1, 1);
    if (!list.load())
        MarkListFailure(types, list.lastError());
    for (int i = 1; i <= list.Count(); ++i)
        types->addItem(list.item(i).Name);
    types->addItem(texts->text(QStringLiteral("Msg_AllCardType"), deflt));
    types->setCurrentIndex(types->count() - 1);

    QComboBox* top = m_criteria->combo("cboTop");
    top->clear();
    top->addItem(texts->text(QStringLiteral("Msg_ShowAll"), deflt));
    top->addItems({"10", "20", "50", "100"});
    top->setCurrentIndex(0);

    static_cast<QAbstractButton*>(m_criteria->control("optOrderBy_0"))->setChecked(true);
}

void frmMemberQuery::completeCriteria(CriteriaValue& criteria)
{
    // The list ends with every card type.
    QString& type = criteria.as<MemberQueryCriteria>().memberType;
    if (type == ownText("Msg_AllCardType"))
        type.clear();
}

QString frmMemberQuery::printHeader() const
{
    return Msg(QStringLiteral("Msg_Report_LargeFont")) +
           Msg(QStringLiteral("Msg_Report_SmallFont")) + QStringLiteral("/f1/c") +
           queryControl()->Title() + QStringLiteral("/n/n");
}
