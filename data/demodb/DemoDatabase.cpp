#include "data/demodb/DemoDatabase.h"

#include "data/demodb/DemoRandom.h"
#include "data/demodb/SqliteInsert.h"

#include <QFile>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using Cents = std::int64_t;

std::string fmt(const char* format, auto... args)
{
    char buffer[256];
    std::snprintf(buffer, sizeof buffer, format, args...);
    return buffer;
}

std::string dateText(const QDate& d)
{
    return d.toString(QStringLiteral("yyyy-MM-dd 00:00:00")).toStdString();
}

// A time on day d, minutes after midnight (may run past midnight into the next day).
std::string timeText(const QDate& d, int minutes, int seconds = 0)
{
    const QDate day = d.addDays(minutes / 1440);
    minutes %= 1440;
    return day.toString(QStringLiteral("yyyy-MM-dd ")).toStdString() +
           fmt("%02d:%02d:%02d", minutes / 60, minutes % 60, seconds);
}

Cents percentOf(Cents amount, int permille)
{
    return (amount * permille + 500) / 1000;
}

struct Area
{
    const char* id;
    const char* name;
};
const Area kAreas[] = {{"A1", "华北区"}, {"A2", "华东区"}, {"A3", "华南区"}, {"A4", "西南区"}};

struct BranchSeed
{
    const char* name;
    int area;
};
const BranchSeed kBranches[] = {
    {"北京王府井店", 0}, {"上海南京路店", 1}, {"广州天河店", 2}, {"成都春熙路店", 3},
    {"深圳福田店", 2},   {"杭州西湖店", 1},   {"天津和平店", 0}, {"重庆解放碑店", 3},
    {"南京新街口店", 1}, {"武汉江汉路店", 1}, {"西安钟楼店", 3}, {"苏州观前店", 1},
    {"厦门中山路店", 2}, {"青岛台东店", 0},   {"长沙五一店", 2}, {"大连中山店", 0},
    {"沈阳太原街店", 0}, {"宁波天一店", 1},   {"郑州二七店", 0}, {"昆明南屏店", 3}};

const char* const kSurnames[] = {"王", "李", "张", "刘", "陈", "杨", "黄", "赵", "吴", "周",
                                 "徐", "孙", "马", "朱", "胡", "郭", "何", "林", "罗", "高"};
const char* const kGiven[] = {"伟", "芳", "娜", "敏",   "静",   "丽",   "强",   "磊",  "军",
                              "洋", "勇", "艳", "杰",   "娟",   "涛",   "明",   "超",  "秀英",
                              "霞", "平", "刚", "桂英", "建华", "晓东", "海燕", "志强"};

struct DepartType
{
    const char* id;
    const char* name;
};
const DepartType kDepartTypes[] = {{"01", "厨房"}, {"02", "酒水"}, {"03", "点心"}, {"04", "海鲜"}};
struct Depart
{
    const char* id;
    const char* name;
    const char* type;
};
const Depart kDeparts[] = {{"D01", "热菜间", "01"},
                           {"D02", "凉菜间", "01"},
                           {"D03", "吧台", "02"},
                           {"D04", "面点间", "03"},
                           {"D05", "海鲜池", "04"}};
struct MenuType
{
    const char* id;
    const char* name;
    const char* departType;
    int depart;
};
const MenuType kMenuTypes[] = {{"11", "热菜", "01", 0}, {"12", "凉菜", "01", 1},
                               {"13", "汤羹", "01", 0}, {"21", "酒水", "02", 2},
                               {"22", "饮料", "02", 2}, {"31", "点心", "03", 3},
                               {"32", "主食", "03", 3}, {"41", "海鲜", "04", 4}};
struct Dish
{
    const char* name;
    const char* spell;
    int type;
    int price;
    const char* unit;
    int cost;
};
// price and commission price in yuan; type indexes kMenuTypes
const Dish kDishes[] = {{"宫保鸡丁", "GBJD", 0, 38, "份", 2},
                        {"鱼香肉丝", "YXRS", 0, 32, "份", 0},
                        {"麻婆豆腐", "MPDF", 0, 22, "份", 0},
                        {"回锅肉", "HGR", 0, 36, "份", 0},
                        {"水煮鱼", "SZY", 0, 68, "份", 5},
                        {"糖醋里脊", "TCLJ", 0, 42, "份", 2},
                        {"红烧肉", "HSR", 0, 48, "份", 3},
                        {"北京烤鸭", "BJKY", 0, 168, "只", 10},
                        {"干煸四季豆", "GBSJD", 0, 28, "份", 0},
                        {"地三鲜", "DSX", 0, 26, "份", 0},
                        {"京酱肉丝", "JJRS", 0, 36, "份", 0},
                        {"小炒黄牛肉", "XCHNR", 0, 58, "份", 3},
                        {"拍黄瓜", "PHG", 1, 12, "份", 0},
                        {"凉拌木耳", "LBME", 1, 16, "份", 0},
                        {"夫妻肺片", "FQFP", 1, 38, "份", 2},
                        {"口水鸡", "KSJ", 1, 36, "份", 0},
                        {"皮蛋豆腐", "PDDF", 1, 14, "份", 0},
                        {"酸辣汤", "SLT", 2, 18, "份", 0},
                        {"西湖牛肉羹", "XHNRG", 2, 32, "份", 0},
                        {"老鸭汤", "LYT", 2, 58, "锅", 3},
                        {"青岛啤酒", "QDPJ", 3, 12, "瓶", 1},
                        {"燕京啤酒", "YJPJ", 3, 10, "瓶", 1},
                        {"长城干红", "CCGH", 3, 168, "瓶", 10},
                        {"五粮液", "WLY", 3, 1280, "瓶", 50},
                        {"茅台", "MT", 3, 2680, "瓶", 100},
                        {"可口可乐", "KKKL", 4, 8, "罐", 0},
                        {"鲜榨橙汁", "XZCZ", 4, 38, "扎", 2},
                        {"酸梅汤", "SMT", 4, 28, "扎", 0},
                        {"菊花茶", "JHC", 4, 20, "壶", 0},
                        {"虾饺", "XJ", 5, 28, "笼", 0},
                        {"烧卖", "SM", 5, 22, "笼", 0},
                        {"叉烧包", "CSB", 5, 18, "笼", 0},
                        {"小笼包", "XLB", 5, 24, "笼", 0},
                        {"米饭", "MF", 6, 3, "碗", 0},
                        {"扬州炒饭", "YZCF", 6, 28, "份", 0},
                        {"手工水饺", "SGSJ", 6, 26, "份", 0},
                        {"担担面", "DDM", 6, 18, "碗", 0},
                        {"清蒸鲈鱼", "QZLY", 7, 88, "条", 5},
                        {"椒盐皮皮虾", "JYPPX", 7, 128, "份", 6},
                        {"蒜蓉扇贝", "SRSB", 7, 16, "只", 1},
                        {"避风塘炒蟹", "BFTCX", 7, 198, "份", 10},
                        {"白灼基围虾", "BZJWX", 7, 98, "份", 5}};
constexpr int kDishCount = int(sizeof kDishes / sizeof kDishes[0]);
// The commission price (in cents) of a dish's large portion, an extra unit: half as much again
// as the default unit's, and 1 yuan on dishes that earn none in their default unit.
Cents largeUnitCommission(const Dish& d)
{
    return d.cost ? Cents(d.cost) * 150 : 100;
}

struct Period
{
    const char* id;
    const char* name;
    int begin;
    int end;
    int weight;
};
const Period kPeriods[] = {{"1", "早茶", 6 * 60, 10 * 60 + 30, 8},
                           {"2", "午餐", 10 * 60 + 30, 14 * 60 + 30, 40},
                           {"3", "下午茶", 14 * 60 + 30, 17 * 60, 6},
                           {"4", "晚餐", 17 * 60, 21 * 60 + 30, 40},
                           {"5", "夜宵", 21 * 60 + 30, 26 * 60, 6}};

struct Subject
{
    const char* id;
    const char* name;
    int balanceType;
    int rateMille;
};
const Subject kSubjects[] = {{"01", "现金", 0, 1000},   {"02", "银行卡", 0, 1000},
                             {"03", "会员卡", 0, 1000}, {"04", "挂账", 0, 1000},
                             {"05", "代金券", 0, 1000}, {"06", "港币", 0, 900},
                             {"09", "招待费", 1, 1000}};
enum
{
    Cash,
    Card,
    MemberCard,
    Charge,
    Voucher,
    Hkd,
    Entertain
};

struct TableSeed
{
    std::string id, name, full, area, areaName;
    int minPeople, maxPeople;
    int serviceMille;
};

const char* const kReasons[] = {"上错菜", "客人不要", "等待太久", "菜品质量问题", "沽清"};
const char* const kCookWays[] = {"少辣", "加辣", "不要香菜", "清淡", "打包"};
const char* const kLogTypes[] = {
    "",       "打折",         "转台",        "并台", "撤销埋单", "修改服务费率", "修改就餐人数",
    "反结账", "修改菜品数量", "修改菜品价格"};

struct Material
{
    const char* id;
    const char* name;
    const char* itemSpec; // the Spec column: size or packing ("500g", "箱")
    const char* unit;
    const char* typeId;
    const char* typeName;
    const char* stockType;
    int priceCents;
};
const Material kMaterials[] = {{"100101", "鸡胸肉", "冻品", "公斤", "10", "肉类", "原材料", 2600},
                               {"100102", "猪里脊", "鲜品", "公斤", "10", "肉类", "原材料", 3200},
                               {"100103", "五花肉", "鲜品", "公斤", "10", "肉类", "原材料", 2800},
                               {"100104", "牛肉", "鲜品", "公斤", "10", "肉类", "原材料", 7800},
                               {"100105", "鸭", "整只", "只", "10", "肉类", "原材料", 4500},
                               {"200101", "鲈鱼", "活鲜", "公斤", "20", "水产", "原材料", 6800},
                               {"200102", "基围虾", "活鲜", "公斤", "20", "水产", "原材料", 12000},
                               {"200103", "扇贝", "活鲜", "只", "20", "水产", "原材料", 600},
                               {"200104", "花蟹", "活鲜", "公斤", "20", "水产", "原材料", 16000},
                               {"300101", "豆腐", "盒装", "盒", "30", "蔬菜豆制品", "原材料", 300},
                               {"300102", "黄瓜", "", "公斤", "30", "蔬菜豆制品", "原材料", 600},
                               {"300103", "四季豆", "", "公斤", "30", "蔬菜豆制品", "原材料", 900},
                               {"400101", "大米", "25公斤/袋", "公斤", "40", "粮油", "原材料", 550},
                               {"400102", "面粉", "25公斤/袋", "公斤", "40", "粮油", "原材料", 450},
                               {"400103", "花生油", "5升/桶", "升", "40", "粮油", "原材料", 1800},
                               {"500101", "青岛啤酒", "640ml", "瓶", "50", "酒水", "商品", 450},
                               {"500102", "长城干红", "750ml", "瓶", "50", "酒水", "商品", 6800},
                               {"500103", "可口可乐", "330ml", "罐", "50", "酒水", "商品", 250},
                               {"600101", "一次性餐具", "套", "套", "60", "低值易耗", "物料", 80},
                               {"600102", "餐巾纸", "包", "包", "60", "低值易耗", "物料", 300}};
constexpr int kMaterialCount = int(sizeof kMaterials / sizeof kMaterials[0]);
// Raw material (index) and quantity in thousandths used per portion of each menu type.
struct Recipe
{
    int material;
    int milli;
};
std::vector<Recipe> recipeFor(int dish)
{
    switch (kDishes[dish].type) {
    case 0:
        return {{dish % 4, 250}, {15 - 1, 30}, {11 + dish % 2, 100}};
    case 1:
        return {{9 + dish % 3, 200}, {14, 10}};
    case 2:
        return {{3 + dish % 2, 150}, {9, 100}};
    case 3:
        return {{15 + dish % 2, 1000}};
    case 4:
        return {{17, 1000}};
    case 5:
        return {{13, 100}, {1, 50}};
    case 6:
        return {{12 + dish % 2, 150}};
    default:
        return {{5 + dish % 4, 500}, {14, 20}};
    }
}

class Builder
{
public:
    Builder(const DemoDatabase::Options& o, sqlite3* db) : o(o), db(db), rnd(o.seed) {}

    void exec(const std::string& sql)
    {
        char* error = nullptr;
        if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
            std::string message = error ? error : "unknown error";
            sqlite3_free(error);
            throw std::runtime_error(message);
        }
    }

    void run(const std::function<void(double, const QString&)>& progress);
    std::int64_t bills = 0, items = 0;

private:
    const DemoDatabase::Options& o;
    sqlite3* db;
    DemoRandom rnd;
    std::map<std::string, std::unique_ptr<SqliteInsert>> inserts;
    std::vector<TableSeed> tables;
    std::vector<std::string> staff; // per branch: 8 names
    int memberCount = 0;
    std::vector<std::string> accounts;
    std::vector<std::string> accountNames;
    int seq = 0;

    SqliteInsert& ins(const std::string& table, int columns)
    {
        auto& p = inserts[table];
        if (!p) {
            std::string sql = "INSERT INTO " + table + " VALUES (";
            for (int i = 0; i < columns; ++i)
                sql += i ? ",?" : "?";
            p = std::make_unique<SqliteInsert>(db, sql + ")");
        }
        return *p;
    }

    std::string personName()
    {
        return std::string(kSurnames[rnd.below(20)]) + kGiven[rnd.below(26)];
    }
    std::string branchId(int b) const { return fmt("%02d", b + 1); }
    std::string branchName(int b) const
    {
        return b < 20 ? kBranches[b].name : fmt("%s%d分店", kBranches[b % 20].name, b / 20 + 1);
    }
    int branchArea(int b) const { return kBranches[b % 20].area; }
    std::string staffId(int b, int i) const { return fmt("%02d%02d", b + 1, i + 1); }
    std::string memberId(int m) const { return fmt("M%06d", m + 1); }
    // Every fortieth card was issued from an older series whose numbers begin with zeros.
    std::string memberCard(int m) const
    {
        return m % 40 == 13 ? fmt("00%06d", 3000 + m) : fmt("8%07d", 100000 + m * 7);
    }
    std::string memberName(int m) const
    {
        return std::string(kSurnames[m % 20]) + kGiven[(m / 20) % 26];
    }
    // With midnight stamps, every tenth card was issued at the stroke of midnight.
    bool midnightCard(int m) const { return o.midnight && m % 10 == 0; }
    int memberType(int m) const { return m % 10 < 5 ? 0 : m % 10 < 8 ? 1 : m % 10 < 9 ? 2 : 3; }

    void masterData();
    void members();
    void day(const QDate& d, int b, std::map<std::string, std::vector<Cents>>& uploadItems,
             std::map<std::string, Cents>& uploadPay, std::map<int, std::int64_t>& bom);
    void memberSummary(int m, const char* summary, const std::string& time,
                       const std::string& place, const std::string& person, Cents expense,
                       Cents paid, Cents integral, const std::string& billId,
                       const std::string& remark);
};

const char* const kMemberTypes[] = {"普通卡", "银卡", "金卡", "钻石卡"};
const int kMemberDiscount[] = {95, 90, 85, 80};

void Builder::masterData()
{
    for (const Area& a : kAreas)
        ins("mnt_dd_Area", 2).text(a.id).text(a.name).done();
    for (int b = 0; b < o.branches; ++b) {
        const Area& a = kAreas[branchArea(b)];
        ins("rpt_dd_Branch", 6)
            .text(branchId(b))
            .text(branchName(b))
            .text(a.id)
            .text(a.name)
            .text(fmt("%s路%d号", a.name, 100 + b))
            .text(fmt("0%d-8888%04d", 10 + b, b))
            .done();
        ins("mnt_dd_Branch", 3).text(branchId(b)).text(branchName(b)).text(a.id).done();
        ins("dd_Branch", 2).text(branchId(b)).text(branchName(b)).done();
        for (int i = 0; i < 8; ++i)
            staff.push_back(personName());
    }
    // Users: the administrators and cashiers see every branch; the area manager only the
    // branches of 华北区 (by user id, while his group has no rows).
    ins("pv_UserGroup", 2).text("G01").text("管理员").done();
    ins("pv_UserGroup", 2).text("G02").text("收银员").done();
    ins("pv_UserGroup", 2).text("G03").text("区域经理").done();
    ins("pv_User", 5).text("admin").text("系统管理员").text("G01").text("").integer(0).done();
    ins("pv_User", 5).text("cashier").text("收银员").text("G02").text("").integer(0).done();
    ins("pv_User", 5).text("manager").text("华北区经理").text("G03").text("").integer(0).done();
    for (const char* group : {"G01", "G02"}) {
        for (int b = 0; b < o.branches; ++b)
            ins("rpt_pv_Branch", 2).text(group).text(branchId(b)).done();
        for (const Area& a : kAreas)
            ins("rpt_pv_Area", 2).text(group).text(a.id).done();
    }
    for (int b = 0; b < o.branches; ++b)
        if (branchArea(b) == 0)
            ins("rpt_pv_Branch", 2).text("manager").text(branchId(b)).done();
    ins("rpt_pv_Area", 2).text("manager").text("A1").done();
    // The area managers' group also looks after the third branch (in 华南区), so the manager
    // sees branches granted to him and to his group, and not the others of that area.
    if (o.branches >= 3) {
        ins("rpt_pv_Branch", 2).text("G03").text(branchId(2)).done();
        ins("rpt_pv_Area", 2).text("G03").text(kAreas[branchArea(2)].id).done();
    }

    for (const Period& p : kPeriods)
        ins("dd_Period", 4)
            .text(p.id)
            .text(p.name)
            .text(fmt("%02d:%02d", p.begin / 60, p.begin % 60))
            .text(fmt("%02d:%02d", p.end / 60 % 24, p.end % 60))
            .done();
    int listIndex = 0;
    for (const Subject& s : kSubjects)
        ins("dd_Subject", 6)
            .text(s.id)
            .text(s.name)
            .integer(s.balanceType)
            .integer(1)
            .real(s.rateMille / 1000.0)
            .integer(++listIndex)
            .done();
    for (int i = 0; i < 5; ++i)
        ins("dd_Reason", 2).text(fmt("%d", i + 1)).text(kReasons[i]).done();
    const char* discounts[][3] = {{"01", "九折", "0.9"},
                                  {"02", "八八折", "0.88"},
                                  {"03", "八折", "0.8"},
                                  {"04", "会员价", "1"}};
    for (auto& d : discounts)
        ins("dd_Discount", 3).text(d[0]).text(d[1]).real(std::atof(d[2])).done();
    const char* expenses[][2] = {
        {"01", "房租"}, {"02", "水电燃气"}, {"03", "员工工资"}, {"04", "杂费"}};
    listIndex = 0;
    for (auto& e : expenses)
        ins("dd_Expense", 3).text(e[0]).text(e[1]).integer(++listIndex).done();

    listIndex = 0;
    for (const DepartType& t : kDepartTypes)
        ins("mn_DepartType", 3).text(t.id).text(t.name).integer(++listIndex).done();
    for (const Depart& d : kDeparts)
        ins("mn_Depart", 3).text(d.id).text(d.name).text(d.type).done();
    listIndex = 0;
    for (const MenuType& t : kMenuTypes)
        ins("mn_MenuType", 4)
            .text(t.id)
            .text(t.name)
            .text(t.departType)
            .integer(++listIndex)
            .done();
    for (int i = 0; i < kDishCount; ++i) {
        const Dish& d = kDishes[i];
        const std::string id = fmt("%s%02d", kMenuTypes[d.type].id, i + 1);
        const Cents price = Cents(d.price) * 100;
        ins("mn_Menu", 20)
            .text(id)
            .text(d.name)
            .text(d.spell)
            .text(fmt("69%011d", 1000 + i))
            .text(kMenuTypes[d.type].id)
            .text(d.unit)
            .cents(price)
            .cents(price + price / 10)
            .cents(percentOf(price, 900))
            .cents(percentOf(price, 990))
            .cents(Cents(d.cost) * 100)
            .integer(0)
            .integer(d.type == 7 ? 1 : 0)
            .integer(d.type == 3 || d.type == 4 ? 1 : 0)
            .integer(i % 17 == 5 ? 1 : 0)
            .integer(d.type == 2 ? 1 : 0)
            .integer(d.type == 6 ? 1 : 0)
            .integer(0)
            .integer(d.type == 3 || d.type == 4 ? 1 : 0)
            .integer(d.type == 3 ? 0 : 1)
            .done();
        if (d.type == 0 || d.type == 7) { // a large portion as an extra unit
            const Cents large = price + price / 2;
            ins("mn_MenuUnit", 8)
                .text(id + "02")
                .text(id)
                .text(d.type == 7 ? "大份" : "大盘")
                .cents(large)
                .cents(large + large / 10)
                .cents(percentOf(large, 900))
                .cents(percentOf(large, 990))
                .cents(largeUnitCommission(d))
                .done();
        }
    }
    const char* specials[][2] = {{"S1", "特价菜"}, {"S2", "推荐菜"}};
    listIndex = 0;
    for (auto& s : specials)
        ins("mn_SpecailType", 3).text(s[0]).text(s[1]).integer(++listIndex).done();
    ins("mn_GroupType", 3).text("G1").text("海鲜类").integer(1).done();
    ins("mn_GroupType", 3).text("G2").text("酒水饮料").integer(2).done();
    ins("mn_GroupType", 3).text("G3").text("招牌菜").integer(3).done();
    ins("mn_GroupItem", 3).text("G1").text("04").text("DepartType").done();
    ins("mn_GroupItem", 3).text("G2").text("21").text("MenuType").done();
    ins("mn_GroupItem", 3).text("G2").text("22").text("MenuType").done();
    for (int i : {0, 4, 7, 37})
        ins("mn_GroupItem", 3)
            .text("G3")
            .text(fmt("%s%02d", kMenuTypes[kDishes[i].type].id, i + 1))
            .text("Menu")
            .done();

    // Tables: the same layout in every branch (hall, private rooms, booths).
    ins("tb_TableArea", 3).text("01").text("大厅").null().done();
    ins("tb_TableArea", 3).text("02").text("包房").null().done();
    ins("tb_TableArea", 3).text("03").text("卡座").null().done();
    for (int i = 1; i <= 16; ++i)
        tables.push_back(
            {fmt("1%02d", i), fmt("A%02d", i), fmt("大厅A%02d", i), "01", "大厅", 1, 6, 0});
    const char* rooms[] = {"牡丹厅", "玫瑰厅", "兰花厅", "菊花厅",
                           "荷花厅", "桂花厅", "梅花厅", "竹韵厅"};
    for (int i = 0; i < 8; ++i)
        tables.push_back({fmt("2%02d", i + 1), rooms[i], std::string("包房") + rooms[i], "02",
                          "包房", 6, 14, 100});
    for (int i = 1; i <= 8; ++i)
        tables.push_back(
            {fmt("3%02d", i), fmt("K%02d", i), fmt("卡座K%02d", i), "03", "卡座", 2, 4, 0});
    for (const TableSeed& t : tables)
        ins("tb_Table", 6)
            .text(t.id)
            .text(t.name)
            .text(t.full)
            .text(t.area)
            .integer(t.maxPeople)
            .integer(t.area == "02" ? 1 : 0)
            .done();
    // The terrace opens in summer: its area and tables are on the floor plan but have no bills
    // (the table report lists them empty).
    ins("tb_TableArea", 3).text("04").text("露台").null().done();
    for (int i = 1; i <= 2; ++i)
        ins("tb_Table", 6)
            .text(fmt("4%02d", i))
            .text(fmt("T%02d", i))
            .text(fmt("露台T%02d", i))
            .text("04")
            .integer(4)
            .integer(0)
            .done();

    const char* accountTypes[][2] = {{"01", "协议单位"}, {"02", "员工挂账"}, {"03", "VIP客户"}};
    for (auto& a : accountTypes)
        ins("ac_AccountType", 2).text(a[0]).text(a[1]).done();
    const char* companies[] = {"华夏科技有限公司", "东方贸易公司",   "长江建设集团", "宏达物流",
                               "新世纪酒店管理",   "金桥律师事务所", "天成地产",     "博雅文化传媒",
                               "远航旅行社",       "明德中学"};
    for (int i = 0; i < 16; ++i) {
        const std::string id = fmt("AC%03d", i + 1);
        accounts.push_back(id);
        const std::string name =
            i < 10 ? companies[i] : (i < 13 ? personName() + "(员工)" : personName() + "(VIP)");
        accountNames.push_back(name);
        ins("ac_Account", 7)
            .text(id)
            .text(name)
            .text(i < 10   ? "01"
                  : i < 13 ? "02"
                           : "03")
            .cents(0)
            .cents(Cents(i < 10 ? 50000 : 5000) * 100)
            .text(personName())
            .text(fmt("139%08d", 1000 + i * 37))
            .done();
    }
}

// The operation names of the member log as the English and Traditional Chinese front-ends write
// them; the log of every tenth member comes from each of those.
const char* const kSummaryNames[][3] = {
    {"发卡", "NewCard", "發卡"},          {"挂失卡", "LockCard", "挂失卡"},
    {"解挂卡", "UnLockCard", "解挂卡"},   {"续卡", "ReNewCard", "續卡"},
    {"换卡", "ChangeCard", "換卡"},       {"存款", "SavingCard", "存款"},
    {"消费", "Consume", "消費"},          {"会员卡结账", "MemberCheckOut", "會員卡結賬"},
    {"礼物兑分", "SendGift", "禮物兌分"}, {"升级", "TransferCard", "升級"},
};

void Builder::memberSummary(int m, const char* summary, const std::string& time,
                            const std::string& place, const std::string& person, Cents expense,
                            Cents paid, Cents integral, const std::string& billId,
                            const std::string& remark)
{
    const int language = m % 10 == 7 ? 1 : m % 10 == 8 ? 2 : 0;
    for (const auto& names : kSummaryNames)
        if (std::string(names[0]) == summary)
            summary = names[language];
    ins("mb_Summary", 15)
        .text(fmt("MS%09d", ++seq))
        .text(memberId(m))
        .text(memberCard(m))
        .text(memberName(m))
        .text(kMemberTypes[memberType(m)])
        .text(summary)
        .text(time)
        .text(place)
        .text(person)
        .text(timeText(o.lastDay.addYears(1), 0))
        .cents(expense)
        .cents(paid)
        .cents(integral)
        .text(billId)
        .text(remark)
        .done();
}

void Builder::members()
{
    for (int t = 0; t < 4; ++t)
        ins("mb_MemberType", 3)
            .text(fmt("%02d", t + 1))
            .text(kMemberTypes[t])
            .real(kMemberDiscount[t] / 100.0)
            .done();
    memberCount = 150 + 50 * o.branches;
    const QDate first = o.lastDay.addDays(-o.days + 1);
    for (int m = 0; m < memberCount; ++m) {
        // Most cards were issued before the period; some during it (new cards).
        const bool during = m % 5 == 0;
        const QDate issued =
            during ? first.addDays(rnd.below(o.days)) : first.addDays(-30 - rnd.below(700));
        QDate birth(1960 + rnd.below(45), 1 + rnd.below(12), 1 + rnd.below(28));
        // Birthdays that test a month's end: 29 February, 31 December, 30 April.
        if (m % 50 == 17)
            birth = QDate(1980 + 4 * (m % 6), 2, 29);
        else if (m % 50 == 33)
            birth = QDate(birth.year(), 12, 31);
        else if (m % 50 == 41)
            birth = QDate(birth.year(), 4, 30);
        const int b = m % o.branches;
        ins("mb_MemberInfo", 20)
            .text(memberId(m))
            .text(memberCard(m))
            .text(fmt("%02d", memberType(m) + 1))
            .text(kMemberTypes[memberType(m)])
            .text(memberName(m))
            .text(m % 2 ? "女" : "男")
            .text(dateText(birth))
            .integer(birth.month())
            .integer(birth.day())
            .text(fmt("010-6%07d", m * 13 % 10000000))
            .text(fmt("13%09d", 100000000 + m * 7919 % 900000000))
            .cents(Cents(rnd.between(0, 3000000)))
            .integer(rnd.between(0, 60))
            .integer(rnd.between(0, 30000))
            .cents(Cents(rnd.between(0, 500000)))
            .integer(m % 37 == 3 ? 1 : 0)
            .integer(during ? 1 : 0)
            .text(dateText(m % 23 == 7 ? first.addDays(-10) : issued.addYears(2)))
            .text(timeText(issued, midnightCard(m) ? 0 : 600 + m % 300))
            .text(branchId(b))
            .done();
        const std::string place = branchName(b);
        if (issued >= first) {
            memberSummary(m, "发卡", timeText(issued, midnightCard(m) ? 0 : 600 + m % 300), place,
                          staff[b * 8], 2000, 2000, 0, "", "新会员发卡");
        }
        const QDate some = first.addDays(rnd.below(o.days));
        if (m % 37 == 3)
            memberSummary(m, "挂失卡", timeText(some, 700), place, staff[b * 8], 0, 0, 0, "",
                          "客户来电挂失");
        if (m % 41 == 5) {
            memberSummary(m, "挂失卡", timeText(some, 700), place, staff[b * 8], 0, 0, 0, "",
                          "客户挂失");
            memberSummary(m, "解挂卡", timeText(some, 900), place, staff[b * 8], 0, 0, 0, "",
                          "找回卡片");
        }
        if (m % 23 == 7)
            memberSummary(m, "续卡", timeText(some, 800), place, staff[b * 8], 5000, 5000, 0, "",
                          "续期一年");
        if (m % 29 == 11)
            memberSummary(m, "换卡", timeText(some, 800), place, staff[b * 8], 1000, 1000, 0, "",
                          "卡片损坏换卡");
        if (m % 19 == 2)
            memberSummary(m, "礼物兑分", timeText(some, 1100), place, staff[b * 8], 0, 0, -50000,
                          "", "兑换保温杯");
        if (m % 31 == 9)
            memberSummary(m, "升级", timeText(some, 1000), place, staff[b * 8], 0, 0, 0, "",
                          "普通卡升级为银卡");
    }
}

void Builder::day(const QDate& d, int b, std::map<std::string, std::vector<Cents>>& uploadItems,
                  std::map<std::string, Cents>& uploadPay, std::map<int, std::int64_t>& bom)
{
    const std::string bid = branchId(b), bname = branchName(b);
    const std::string billDate = dateText(d);
    const bool lastDay = d == o.lastDay;
    const int count =
        std::max({1, std::min(10, o.billsPerDay),
                  o.billsPerDay * (d.dayOfWeek() >= 5 ? 12 : 9) / 10 + rnd.between(-2, 2)});
    std::vector<int> periodWeights;
    for (const Period& p : kPeriods)
        periodWeights.push_back(p.weight);
    std::vector<int> dishesOfType[8];
    for (int i = 0; i < kDishCount; ++i)
        dishesOfType[kDishes[i].type].push_back(i);

    struct Line
    {
        std::string id, menuId, unitId, unitName;
        int dish;
        Cents price, price2, cost;
        int qty, cancel;
        bool gift;
        Cents consume, service, discount;
        std::string cook;
        Cents cookSum;
        int person;
        int minute;
    };

    for (int k = 0; k < count; ++k) {
        const std::string billId =
            bid + d.toString(QStringLiteral("yyMMdd")).toStdString() + fmt("%04d", k + 1);
        // A few member-card top-ups each day, on the pseudo-table "会员卡充值".
        // The first ten bills of a day each show one kind of business for sure (so that even a
        // tiny database has every kind); later bills get them by chance.
        const bool topUp = k % 25 == 9;
        const int pi = rnd.weighted(periodWeights);
        const Period& period = kPeriods[pi];
        const int openMinute =
            period.begin + rnd.below(std::max(1, period.end - period.begin - 30));
        const int closeMinute = openMinute + 35 + rnd.below(90);
        const TableSeed& table = k == 7 ? tables[size_t(16 + rnd.below(8))]
                                        : tables[size_t(rnd.below(int(tables.size())))];
        const int opener = rnd.below(4), settler = rnd.below(4), cashier = 4 + rnd.below(2);
        const std::string openerName = staff[size_t(b * 8 + opener)],
                          cashierName = staff[size_t(b * 8 + cashier)];
        const std::string settlerName = staff[size_t(b * 8 + settler)];
        const int member = rnd.chance(0.18) || topUp || k == 6 ? rnd.below(memberCount) : -1;
        const bool deleted = k == 3 || rnd.chance(0.01),
                   zero = k == 2 || (!topUp && rnd.chance(0.012));
        std::vector<Line> lines;
        Cents consume = 0, service = 0, discount = 0;
        int discountKind = -1; // 0..2 rate discounts, 3 member price
        int people = topUp ? 1 : rnd.between(table.minPeople, table.maxPeople);
        if (!topUp) {
            if (k == 6 || (member >= 0 && rnd.chance(0.5)))
                discountKind = 3;
            else if (rnd.chance(0.15))
                discountKind = rnd.below(3);
            const int rateMille[] = {900, 880, 800};
            const int nLines = std::min(14, 2 + people / 2 + rnd.below(4));
            for (int l = 0; l < nLines; ++l) {
                const int type =
                    l == 0 && people > 3 ? 3 : rnd.weighted({30, 12, 8, 10, 10, 10, 10, 10});
                const auto& pool = dishesOfType[type];
                const int dish = pool[size_t(rnd.below(int(pool.size())))];
                const Dish& dd = kDishes[dish];
                Line ln;
                ln.id = billId + fmt("%03d", l + 1);
                ln.dish = dish;
                ln.menuId = fmt("%s%02d", kMenuTypes[dd.type].id, dish + 1);
                const bool large = (dd.type == 0 || dd.type == 7) && rnd.chance(0.15);
                ln.unitId = large ? ln.menuId + "02" : ln.menuId;
                ln.unitName = large ? (dd.type == 7 ? "大份" : "大盘") : dd.unit;
                ln.price = Cents(dd.price) * 100;
                if (large)
                    ln.price += ln.price / 2;
                if (table.area == "02")
                    ln.price += ln.price / 10; // room price
                ln.cost = large ? largeUnitCommission(dd) : Cents(dd.cost) * 100;
                ln.qty = dd.type == 3 || dd.type == 4 || dd.type == 6
                             ? rnd.between(1, std::max(1, people / 2))
                             : 1;
                ln.cancel = (k == 5 && l == 0) || rnd.chance(0.03) ? 1 : 0;
                ln.qty = std::max(ln.qty, ln.cancel + 1);
                ln.gift = (k == 5 && l == 1) || rnd.chance(0.04);
                ln.price2 = ln.price;
                if (discountKind == 3)
                    ln.price2 = percentOf(ln.price, 900);
                else if (discountKind >= 0)
                    ln.price2 = percentOf(ln.price, rateMille[discountKind]);
                ln.consume = ln.gift ? 0 : ln.price * (ln.qty - ln.cancel);
                ln.cook = rnd.chance(0.1) ? kCookWays[rnd.below(5)] : "";
                ln.cookSum = !ln.cook.empty() && ln.cook == "打包" ? 200 : 0;
                ln.service = percentOf(ln.consume, table.serviceMille);
                ln.discount = discountKind >= 0 ? (ln.price - ln.price2) * (ln.qty - ln.cancel) : 0;
                if (ln.gift)
                    ln.discount = 0;
                ln.person = rnd.below(4);
                ln.minute = openMinute + 2 + l;
                consume += ln.consume + ln.cookSum;
                service += ln.service;
                discount += ln.discount;
                lines.push_back(ln);
            }
        } else {
            consume = Cents(std::vector<int>{500, 1000, 2000, 3000}[size_t(rnd.below(4))]) * 100;
        }
        const Cents toPay = topUp ? consume : consume + service - discount;
        Cents paid = zero ? 0 : toPay;
        if (!zero && !topUp && toPay % 100 != 0 && rnd.chance(0.4))
            paid = toPay - toPay % 100; // odd jiao waived
        // Payments
        struct Pay
        {
            int subject;
            Cents sum;
        };
        std::vector<Pay> pays;
        if (!zero) {
            const int first = topUp    ? (rnd.chance(0.6) ? Cash : Card)
                              : k == 4 ? Charge
                                       : rnd.weighted({40, 32, member >= 0 ? 40 : 0, 4, 3, 2, 2});
            if (!topUp && (k == 8 || rnd.chance(0.1)) && paid > 300) {
                const Cents part = std::max<Cents>(100, paid / 100 / 3 * 100);
                pays.push_back({first == Cash ? Card : Cash, part});
                pays.push_back({first, paid - part});
            } else {
                pays.push_back({first, paid});
            }
        }
        Cents inCash = 0;
        for (const Pay& p : pays)
            if (p.subject == Cash)
                inCash += p.sum;
        const int printCount = k == 1 || rnd.chance(0.04) ? 2 + rnd.below(2) : 1;
        const bool invoiced = !topUp && !zero && (k == 8 || rnd.chance(0.2));
        const bool booked = !topUp && table.area == "02" && (k == 7 || rnd.chance(0.3));
        std::string original = fmt("%s%06d", bid.c_str(), ++seq);
        if (booked) {
            original = "BK" + billId;
            ins("tb_Book", 15)
                .text(original)
                .text(table.id)
                .text(settlerName)
                .text(personName() + "先生")
                .text(fmt("138%08d", seq % 100000000))
                .text(rnd.chance(0.7) ? "宴请" : "家宴")
                .text(timeText(d, openMinute))
                .text(timeText(d.addDays(-1 - rnd.below(5)), 600 + rnd.below(480)))
                .text(period.name)
                .integer(people)
                .cents(rnd.chance(0.5) ? 50000 : 0)
                .cents(paid)
                .integer(1)
                .text(bid)
                .text("")
                .done();
        }
        const char* discountNames[] = {"九折", "八八折", "八折", "会员价"};
        const char* discountIds[] = {"01", "02", "03", "04"};
        const double discountRates[] = {0.9, 0.88, 0.8, 1.0};
        auto& bill = ins("bi_Bill", 39);
        // On Saturdays the first bill of each branch is a weekend brunch, a period the tills
        // name themselves and the period list does not hold.
        const bool brunch = k == 0 && d.dayOfWeek() == 6;
        bill.text(billId).text(original).text(billDate).text(brunch ? "周末早午餐" : period.name);
        if (topUp)
            bill.text("999").text("会员卡充值").text("会员卡充值").text("00").text("其他");
        else
            bill.text(table.id)
                .text(table.name)
                .text(table.full)
                .text(table.area)
                .text(table.areaName);
        bill.integer(people)
            .text(staffId(b, opener))
            .text(openerName)
            .text(timeText(d, openMinute, rnd.below(60)))
            .text(staffId(b, settler))
            .text(settlerName)
            .text(staffId(b, cashier))
            .text(cashierName)
            .text(timeText(d, closeMinute, rnd.below(60)))
            .text(fmt("%s%02d", bid.c_str(), pi + 1))
            .cents(consume)
            .real(table.serviceMille / 1000.0 * (topUp ? 0 : 1))
            .cents(service);
        if (discountKind >= 0)
            bill.text(discountIds[discountKind])
                .text(discountNames[discountKind])
                .real(discountRates[discountKind])
                .text(settlerName);
        else
            bill.null().text("").real(1.0).text("");
        bill.cents(discount)
            .cents(toPay)
            .cents(paid)
            .cents(inCash)
            .cents(invoiced ? paid - paid % 100 : 0)
            .integer(printCount)
            .integer(zero ? 1 : 0)
            .integer(deleted ? 1 : 0);
        if (member >= 0)
            bill.text(memberId(member)).text(memberCard(member));
        else
            bill.null().null();
        bill.text(bid).text(bname).text(topUp ? "会员卡充值" : "").done();
        ++bills;

        for (const Line& ln : lines) {
            const Dish& dd = kDishes[ln.dish];
            const MenuType& mt = kMenuTypes[dd.type];
            const Depart& dp = kDeparts[mt.depart];
            ins("bi_BillItem", 26)
                .text(ln.id)
                .text(billId)
                .text(ln.menuId)
                .text(dd.name)
                .text(ln.unitId)
                .text(ln.unitName)
                .text(mt.id)
                .text(mt.name)
                .text(mt.departType)
                .text(kDepartTypes[dd.type == 7 ? 3 : std::atoi(mt.departType) - 1].name)
                .text(dp.id)
                .text(dp.name)
                .cents(ln.price)
                .cents(ln.price2)
                .cents(ln.cost)
                .text(ln.cook)
                .cents(ln.cookSum)
                .integer(ln.qty)
                .integer(ln.cancel)
                .integer(ln.gift ? 1 : 0)
                .cents(ln.consume)
                .cents(ln.service)
                .cents(ln.discount)
                .text(staffId(b, ln.person))
                .text(staff[size_t(b * 8 + ln.person)])
                .text(timeText(d, ln.minute, 10))
                .done();
            ++items;
            if (ln.cancel)
                ins("bi_SubBill", 8)
                    .text(ln.id + "R")
                    .text(billId)
                    .text(ln.id)
                    .integer(2)
                    .integer(ln.cancel)
                    .text(settlerName)
                    .text(timeText(d, ln.minute + 15))
                    .text(kReasons[rnd.below(5)])
                    .done();
            if (!deleted && !zero && !ln.gift) {
                auto& acc = uploadItems[ln.menuId + "|" + ln.unitName];
                if (acc.empty())
                    acc = {0, 0, 0, 0, ln.dish};
                acc[0] += ln.qty - ln.cancel;
                acc[1] += ln.consume;
                acc[2] += ln.service;
                acc[3] += ln.discount;
                for (const Recipe& r : recipeFor(ln.dish))
                    bom[r.material] += std::int64_t(r.milli) * (ln.qty - ln.cancel);
            }
        }
        int payIndex = 0;
        for (const Pay& p : pays) {
            const Subject& s = kSubjects[p.subject];
            const Cents paySum = s.rateMille == 1000 ? p.sum : p.sum * 1000 / s.rateMille;
            ins("bi_BillPayment", 8)
                .text(billId + fmt("P%d", ++payIndex))
                .text(billId)
                .text(s.id)
                .text(s.name)
                .cents(paySum)
                .real(s.rateMille / 1000.0)
                .cents(p.sum)
                .text(timeText(d, closeMinute))
                .done();
            if (!deleted)
                uploadPay[s.id] += p.sum;
            // Transfers to accounts: charges to the account holders (by the holder's kind),
            // member-card payments to the card, entertainment to the manager's account.
            auto transfer = [&](const char* suffix, const std::string& kind, const std::string& id,
                                const std::string& name) {
                ins("bi_BillAccount", 13)
                    .text(billId + suffix)
                    .text(billId)
                    .text(billDate)
                    .text(kind)
                    .text(s.id)
                    .text(s.name)
                    .text(id)
                    .text(name)
                    .cents(p.sum)
                    .text(staffId(b, cashier))
                    .text(cashierName)
                    .text(period.name)
                    .text(timeText(d, closeMinute))
                    .done();
            };
            if (p.subject == MemberCard && member >= 0)
                transfer("M", "会员卡", memberCard(member), memberName(member));
            if (p.subject == Entertain)
                transfer("E", "招待", "ZD" + bid, bname + "总经理室");
            if (p.subject == Charge) {
                const size_t a = size_t(rnd.below(int(accounts.size())));
                const std::string& account = accounts[a];
                transfer("A",
                         a < 10   ? "协议单位"
                         : a < 13 ? "员工挂账"
                                  : "VIP客户",
                         account, accountNames[a]);
                ins("ac_Payment", 10)
                    .text(fmt("AP%09d", ++seq))
                    .text(account)
                    .integer(0)
                    .text(billId)
                    .text(billDate)
                    .cents(p.sum)
                    .text(staffId(b, cashier))
                    .text(cashierName)
                    .text(timeText(d, closeMinute))
                    .text("收银挂账")
                    .done();
                // Now and then the cashier reverses such a checkout to settle the bill again.
                if (k == 4 && d.day() % 4 == 1)
                    ins("ac_Payment", 10)
                        .text("AR" + billId)
                        .text(account)
                        .integer(1)
                        .text(billId)
                        .text(billDate)
                        .cents(-p.sum)
                        .text(staffId(b, cashier))
                        .text(cashierName)
                        .text(timeText(d, closeMinute + 20))
                        .text("收银反结账")
                        .done();
            }
            if (p.subject == MemberCard && member >= 0)
                memberSummary(member, "会员卡结账", timeText(d, closeMinute), bname, cashierName,
                              p.sum, p.sum, 0, billId, "");
        }
        if (member >= 0 && !topUp && !zero)
            memberSummary(member, "消费", timeText(d, closeMinute), bname, cashierName, paid, paid,
                          paid / 100 * 100, billId, ""); // a point per yuan
        if (topUp)
            memberSummary(member, "存款", timeText(d, closeMinute), bname, cashierName, consume,
                          consume, 0, billId, "会员卡充值");
        // Operation log: discounts, transfers, guest counts; reverse settlements with snapshots.
        if (discountKind >= 0 && discountKind < 3)
            ins("bi_BillLog", 9)
                .text(billId + "L1")
                .text(billId)
                .text(table.id)
                .text(table.name)
                .text(settlerName)
                .text(timeText(d, closeMinute - 5))
                .integer(1)
                .text(kLogTypes[1])
                .text(std::string("打折:") + discountNames[discountKind])
                .done();
        if (!topUp && rnd.chance(0.04)) {
            const int type = std::vector<int>{2, 3, 4, 5, 6, 8, 9}[size_t(rnd.below(7))];
            ins("bi_BillLog", 9)
                .text(billId + "L2")
                .text(billId)
                .text(table.id)
                .text(table.name)
                .text(settlerName)
                .text(timeText(d, openMinute + 20))
                .integer(type)
                .text(kLogTypes[type])
                .text(std::string(kLogTypes[type]) + " " + table.name)
                .done();
        }
        if (printCount > 1 && !topUp) {
            for (int u = 1; u < printCount; ++u) {
                const std::string uid = billId + fmt("U%d", u);
                const std::string when = timeText(d, closeMinute + 10 * u);
                ins("bi_UnCheckBill", 5)
                    .text(uid)
                    .text(billId)
                    .text(when)
                    .text(cashierName)
                    .cents(paid)
                    .done();
                ins("bi_BillLog", 9)
                    .text(billId + fmt("L7%d", u))
                    .text(billId)
                    .text(table.id)
                    .text(table.name)
                    .text(cashierName)
                    .text(when)
                    .integer(7)
                    .text(kLogTypes[7])
                    .text("反结账后重新结账")
                    .done();
                for (const Line& ln : lines) {
                    const Dish& dd = kDishes[ln.dish];
                    const MenuType& mt = kMenuTypes[dd.type];
                    const Depart& dp = kDeparts[mt.depart];
                    ins("bi_UnCheckBillItem", 27)
                        .text(uid)
                        .text(ln.id)
                        .text(billId)
                        .text(ln.menuId)
                        .text(dd.name)
                        .text(ln.unitId)
                        .text(ln.unitName)
                        .text(mt.id)
                        .text(mt.name)
                        .text(mt.departType)
                        .text(kDepartTypes[std::atoi(mt.departType) - 1].name)
                        .text(dp.id)
                        .text(dp.name)
                        .cents(ln.price)
                        .cents(ln.price2)
                        .cents(ln.cost)
                        .text(ln.cook)
                        .cents(ln.cookSum)
                        .integer(ln.qty)
                        .integer(0)
                        .integer(ln.gift ? 1 : 0)
                        .cents(ln.price * ln.qty)
                        .cents(ln.service)
                        .cents(ln.discount)
                        .text(staffId(b, ln.person))
                        .text(staff[size_t(b * 8 + ln.person)])
                        .text(timeText(d, ln.minute, 10))
                        .done();
                }
                int pIndex = 0;
                for (const Pay& p : pays)
                    ins("bi_UnCheckBillPayment", 9)
                        .text(uid)
                        .text(billId + fmt("P%d", ++pIndex))
                        .text(billId)
                        .text(kSubjects[p.subject].id)
                        .text(kSubjects[p.subject].name)
                        .cents(p.sum)
                        .real(1.0)
                        .cents(p.sum)
                        .text(when)
                        .done();
            }
        }
    }
    // The day's last table sat past midnight: its guest count changed at 00:00:00 the next day.
    if (o.midnight)
        ins("bi_BillLog", 9)
            .text(bid + d.toString(QStringLiteral("yyMMdd")).toStdString() + "NIGHT")
            .text(bid + d.toString(QStringLiteral("yyMMdd")).toStdString() + fmt("%04d", count))
            .text(tables[0].id)
            .text(tables[0].name)
            .text(staff[size_t(b * 8)])
            .text(timeText(d.addDays(1), 0))
            .integer(6)
            .text(kLogTypes[6])
            .text("午夜修改就餐人数")
            .done();
    // Tables still open at the end of the last day: their log lives in the open-bill log.
    if (lastDay)
        for (int k = 0; k < 3; ++k)
            ins("bi_TempBillLog", 9)
                .text(fmt("T%s%d", bid.c_str(), k))
                .text(bid + "OPEN" + fmt("%02d", k + 1))
                .text(tables[size_t(k)].id)
                .text(tables[size_t(k)].name)
                .text(staff[size_t(b * 8)])
                .text(timeText(d, 19 * 60 + k * 7))
                .integer(k % 2 ? 2 : 1)
                .text(kLogTypes[k % 2 ? 2 : 1])
                .text("营业中")
                .done();
}

void Builder::run(const std::function<void(double, const QString&)>& progress)
{
    masterData();
    members();
    const QDate first = o.lastDay.addDays(-o.days + 1);
    const std::vector<std::string> stockRooms = {"热菜间", "凉菜间", "吧台", "面点间", "海鲜池"};
    for (int di = 0; di < o.days; ++di) {
        const QDate d = first.addDays(di);
        const std::string billDate = dateText(d);
        // The chain closes on the first Wednesday of every month (staff training): the day is
        // drawn like any other and then undone, so that the days after it keep the bills the
        // seed gives them.
        const bool closed = d.dayOfWeek() == 3 && d.day() <= 7;
        const std::int64_t billsBefore = bills, itemsBefore = items;
        if (closed)
            exec("SAVEPOINT closed_day");
        for (int b = 0; b < o.branches; ++b) {
            std::map<std::string, std::vector<Cents>> uploadItems;
            std::map<std::string, Cents> uploadPay;
            std::map<int, std::int64_t> bom;
            day(d, b, uploadItems, uploadPay, bom);
            const std::string bid = branchId(b), bname = branchName(b);
            for (const auto& [key, acc] : uploadItems) {
                const Dish& dd = kDishes[acc[4]];
                const MenuType& mt = kMenuTypes[dd.type];
                ins("rp_BillItem_Upload", 15)
                    .text(billDate)
                    .text(bid)
                    .text(bname)
                    .text(mt.departType)
                    .text(kDepartTypes[std::atoi(mt.departType) - 1].name)
                    .text(mt.id)
                    .text(mt.name)
                    .text(kDeparts[mt.depart].name)
                    .text(key.substr(0, key.find('|')))
                    .text(dd.name)
                    .text(key.substr(key.find('|') + 1))
                    .integer(acc[0])
                    .cents(acc[1])
                    .cents(acc[2])
                    .cents(acc[3])
                    .done();
            }
            for (const auto& [subject, sum] : uploadPay) {
                const Subject* s = nullptr;
                for (const Subject& x : kSubjects)
                    if (subject == x.id)
                        s = &x;
                ins("rp_BillPayment_Upload", 7)
                    .text(billDate)
                    .text(bid)
                    .text(bname)
                    .text(s->id)
                    .text(s->name)
                    .cents(s->rateMille == 1000 ? sum : sum * 1000 / s->rateMille)
                    .cents(sum)
                    .done();
            }
            for (const auto& [material, milli] : bom) {
                const Material& m = kMaterials[material];
                const double standard = double(milli) / 1000.0;
                const double actual = standard * (0.95 + rnd.unit() * 0.15);
                ins("st_BOM", 11)
                    .text(billDate)
                    .text(bid)
                    .text(bname)
                    .text(m.id)
                    .text(m.name)
                    .text(m.itemSpec)
                    .text(m.unit)
                    .text(m.typeId)
                    .text(m.typeName)
                    .real(double(std::llround(actual * 1000)) / 1000.0)
                    .real(standard)
                    .done();
            }
            // Stock: issues from the store into the kitchens (4, 7, 9) and returns (5).
            for (size_t r = 0; r < stockRooms.size(); ++r) {
                ins("st_Bill", 9)
                    .text(fmt("ST%09d", ++seq))
                    .text(billDate)
                    .integer(r % 3 == 0   ? 4
                             : r % 3 == 1 ? 7
                                          : 9)
                    .text("仓库")
                    .text(stockRooms[r])
                    .cents(Cents(rnd.between(300, 3000)) * 100)
                    .text(bname)
                    .text(staff[size_t(b * 8 + 6)])
                    .text("领料")
                    .done();
                if (rnd.chance(0.2))
                    ins("st_Bill", 9)
                        .text(fmt("ST%09d", ++seq))
                        .text(billDate)
                        .integer(5)
                        .text(stockRooms[r])
                        .text("仓库")
                        .cents(Cents(rnd.between(20, 200)) * 100)
                        .text(bname)
                        .text(staff[size_t(b * 8 + 6)])
                        .text("退料")
                        .done();
            }
        }
        // Head-office kitchen ("本地") issues and the day's expenses.
        ins("st_Bill", 9)
            .text(fmt("ST%09d", ++seq))
            .text(billDate)
            .integer(4)
            .text("仓库")
            .text("热菜间")
            .cents(Cents(rnd.between(200, 800)) * 100)
            .text("本地")
            .text("中央厨房")
            .text("中央厨房配送")
            .done();
        const Cents expense[] = {
            Cents(800) * 100 * o.branches, Cents(rnd.between(200, 400)) * 100 * o.branches,
            Cents(1500) * 100 * o.branches, Cents(rnd.between(50, 300)) * 100 * o.branches};
        const char* expenseNames[] = {"房租", "水电燃气", "员工工资", "杂费"};
        Cents total = 0;
        for (int e = 0; e < 4; ++e) {
            ins("bi_ExpenseItem", 5)
                .text(billDate)
                .cents(expense[e])
                .text(fmt("%02d", e + 1))
                .text(expenseNames[e])
                .integer(e + 1)
                .done();
            total += expense[e];
        }
        ins("bi_Expense", 2).text(billDate).cents(total).done();
        // Account holders pay part of their charges now and then; some checkouts are reversed.
        if (di % 7 == 6)
            for (size_t a = 0; a < accounts.size(); a += 3)
                ins("ac_Payment", 10)
                    .text(fmt("AP%09d", ++seq))
                    .text(accounts[a])
                    .integer(2)
                    .text("")
                    .text(billDate)
                    .cents(-Cents(rnd.between(500, 5000)) * 100)
                    .text("0105")
                    .text("财务")
                    .text(timeText(d, 15 * 60))
                    .text("付款")
                    .done();
        if (di % 10 == 3)
            ins("ac_Payment", 10)
                .text(fmt("AP%09d", ++seq))
                .text(accounts[size_t(di) % accounts.size()])
                .integer(1)
                .text("")
                .text(billDate)
                .cents(-Cents(rnd.between(100, 800)) * 100)
                .text("0105")
                .text("收银员")
                .text(timeText(d, 21 * 60))
                .text("收银反结账")
                .done();
        // At the stroke of midnight the card service renews an expiring card by itself and the
        // online booking service passes on a late-night booking (arriving at midnight).
        if (o.midnight) {
            const int m = di * 37 % memberCount, b = di % o.branches;
            memberSummary(m, "续卡", timeText(d, 0), branchName(b), "系统", 0, 0, 0, "",
                          "到期自动续卡");
            const TableSeed& t = tables[size_t(16 + di % 8)];
            ins("tb_Book", 15)
                .text(fmt("BKN%06d", di + 1))
                .text(t.id)
                .text("网上预订")
                .text(personName() + "先生")
                .text(fmt("139%08d", di * 7919 % 100000000))
                .text("家宴")
                .text(timeText(d.addDays(2), 0))
                .text(timeText(d, 0))
                .text("夜宵")
                .integer(4 + di % 4)
                .cents(0)
                .cents(0)
                .integer(0)
                .text(branchId(b))
                .text("")
                .done();
        }
        if (closed) {
            exec("ROLLBACK TO closed_day");
            exec("RELEASE closed_day");
            bills = billsBefore;
            items = itemsBefore;
        }
        if (progress)
            progress(double(di + 1) / o.days,
                     QStringLiteral("%1 (%2 bills)").arg(d.toString(Qt::ISODate)).arg(bills));
    }
    // Bookings still to come and cancelled ones.
    for (int i = 0; i < 10 * o.branches; ++i) {
        const int b = i % o.branches;
        const TableSeed& t = tables[size_t(16 + i % 8)];
        ins("tb_Book", 15)
            .text(fmt("BKF%06d", i + 1))
            .text(t.id)
            .text(staff[size_t(b * 8 + 3)])
            .text(personName() + "女士")
            .text(fmt("137%08d", i * 4567 % 100000000))
            .text(i % 3 ? "宴请" : "生日宴")
            .text(timeText(o.lastDay.addDays(1 + i % 14), 18 * 60))
            .text(timeText(o.lastDay.addDays(-(i % 5)), 10 * 60 + i))
            .text("晚餐")
            .integer(8 + i % 6)
            .cents(i % 2 ? 100000 : 0)
            .cents(0)
            .integer(i % 4 == 3 ? 2 : 0)
            .text(branchId(b))
            .text(i % 4 == 3 ? "客人取消" : "")
            .done();
    }
    // Inventory uploaded by every branch (today's stock on hand).
    for (int b = 0; b < o.branches; ++b)
        for (int m = 0; m < kMaterialCount; ++m) {
            const Material& x = kMaterials[m];
            const int qty = rnd.between(0, 120);
            const int minQty = 10 + m % 5 * 5, maxQty = m % 4 == 0 ? 0 : 100;
            ins("rp_Inventory_Upload", 15)
                .text(x.id)
                .text(x.name)
                .text(fmt("WL%s", x.id))
                .text(x.itemSpec)
                .text(x.typeId)
                .text(x.typeName)
                .text(x.stockType)
                .text(x.unit)
                .cents(x.priceCents)
                .text(branchId(b))
                .text(branchName(b))
                .integer(qty)
                .cents(Cents(qty) * x.priceCents)
                .integer(minQty)
                .integer(maxQty)
                .done();
        }
    // Balances of the accounts: what was charged less what was paid.
    exec("UPDATE ac_Account SET Balance = (SELECT ifnull(SUM(Amount),0) FROM ac_Payment P WHERE "
         "P.AccountID=ac_Account.AccountID)");
}

} // namespace

void DemoDatabase::build(const std::function<void(double, const QString&)>& progress)
{
    QFile schemaFile(QStringLiteral(":/schema/sqlite.sql"));
    if (!schemaFile.open(QIODevice::ReadOnly))
        throw std::runtime_error("the schema is missing from the program");
    const QString schema = QString::fromUtf8(schemaFile.readAll());
    const qsizetype marker = schema.indexOf(QLatin1String("-- @indexes"));
    const std::string tables = schema.left(marker).toStdString();
    const std::string indexes = marker < 0 ? std::string() : schema.mid(marker).toStdString();

    QFile::remove(m_options.out);
    sqlite3* db = nullptr;
    if (sqlite3_open(m_options.out.toUtf8().constData(), &db) != SQLITE_OK) {
        const std::string message = db ? sqlite3_errmsg(db) : "out of memory";
        sqlite3_close(db);
        throw std::runtime_error("cannot create " + m_options.out.toStdString() + ": " + message);
    }
    try {
        Builder builder(m_options, db);
        builder.exec(
            "PRAGMA page_size=8192; PRAGMA journal_mode=MEMORY; PRAGMA synchronous=OFF; "
            "PRAGMA locking_mode=EXCLUSIVE; PRAGMA temp_store=MEMORY; PRAGMA cache_size=-200000;");
        builder.exec("BEGIN");
        builder.exec(tables);
        builder.run(progress);
        builder.exec("COMMIT");
        if (progress)
            progress(1.0, QStringLiteral("indexes"));
        builder.exec(indexes);
        builder.exec("ANALYZE");
        m_bills = builder.bills;
        m_items = builder.items;
    } catch (...) {
        sqlite3_close(db);
        throw;
    }
    // Inserts (statements) are finalized by the builder; now the handle can go.
    sqlite3_close(db);
    // The tills write to the file while reports read it: it is left in WAL mode, which stays
    // with the file (built with its journal in memory, under an exclusive lock, it is switched
    // afresh).
    db = nullptr;
    char* error = nullptr;
    const bool wal =
        sqlite3_open(m_options.out.toUtf8().constData(), &db) == SQLITE_OK &&
        sqlite3_exec(db, "PRAGMA journal_mode=WAL", nullptr, nullptr, &error) == SQLITE_OK;
    const std::string message = error ? error : db ? sqlite3_errmsg(db) : "out of memory";
    sqlite3_free(error);
    sqlite3_close(db);
    if (!wal)
        throw std::runtime_error("cannot switch " + m_options.out.toStdString() +
                                 " to WAL mode: " + message);
}
