#include "db/SqliteFunctions.h"

#ifdef VTX_SQLITE_EXTENSION
#include <sqlite3ext.h>
SQLITE_EXTENSION_INIT1
#else
#include <sqlite3.h>
#endif

#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

namespace {

struct DateTime
{
    int year = 1900, month = 1, day = 1, hour = 0, minute = 0, second = 0;
};

// Days since 1970-01-01 of a civil date (proleptic Gregorian).
long long daysFromCivil(int y, int m, int d)
{
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = unsigned(y - era * 400);
    const unsigned doy = unsigned((153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1);
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + (long long)doe - 719468;
}

void civilFromDays(long long z, int& y, int& m, int& d)
{
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = unsigned(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long yy = (long long)yoe + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = int(doy - (153 * mp + 2) / 5 + 1);
    m = int(mp < 10 ? mp + 3 : mp - 9);
    y = int(yy + (m <= 2));
}

int daysInMonth(int y, int m)
{
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (m == 2 && ((y % 4 == 0 && y % 100 != 0) || y % 400 == 0))
        return 29;
    return days[(m - 1) % 12];
}

// Reads "YYYY-MM-DD[ T]HH:MM[:SS[.fff]]", "YYYY-MM-DD", "YYYY/MM/DD", "YYYYMMDD" or "HH:MM[:SS]".
bool parseDate(const char* text, DateTime& dt)
{
    if (!text)
        return false;
    while (*text == ' ')
        ++text;
    int a = 0, b = 0, c = 0, h = 0, mi = 0, s = 0;
    char sep1 = 0, sep2 = 0;
    int consumed = 0;
    if (std::sscanf(text, "%4d%c%2d%c%2d%n", &a, &sep1, &b, &sep2, &c, &consumed) == 5 &&
        (sep1 == '-' || sep1 == '/') && sep2 == sep1) {
        dt = DateTime{a, b, c, 0, 0, 0};
        const char* rest = text + consumed;
        if (*rest == ' ' || *rest == 'T') {
            int n = std::sscanf(rest + 1, "%2d:%2d:%2d", &h, &mi, &s);
            if (n >= 2) {
                dt.hour = h;
                dt.minute = mi;
                dt.second = n == 3 ? s : 0;
            }
        }
    } else if (std::strlen(text) >= 8 && std::isdigit((unsigned char)text[0]) &&
               std::sscanf(text, "%4d%2d%2d", &a, &b, &c) == 3 && text[4] != ':' &&
               text[2] != ':') {
        dt = DateTime{a, b, c, 0, 0, 0};
    } else {
        int n = std::sscanf(text, "%2d:%2d:%2d", &h, &mi, &s);
        if (n < 2)
            return false;
        dt = DateTime{1900, 1, 1, h, mi, n == 3 ? s : 0};
    }
    return dt.month >= 1 && dt.month <= 12 && dt.day >= 1 && dt.day <= 31 && dt.hour < 24 &&
           dt.minute < 60 && dt.second < 62;
}

bool argDate(sqlite3_value* v, DateTime& dt)
{
    if (sqlite3_value_type(v) == SQLITE_NULL)
        return false;
    if (sqlite3_value_type(v) == SQLITE_INTEGER || sqlite3_value_type(v) == SQLITE_FLOAT) {
        // SQL Server reads a number as days since 1900-01-01.
        const double days = sqlite3_value_double(v);
        long long whole = (long long)days;
        long long secs = (long long)((days - double(whole)) * 86400.0 + 0.5);
        civilFromDays(daysFromCivil(1900, 1, 1) + whole, dt.year, dt.month, dt.day);
        dt.hour = int(secs / 3600);
        dt.minute = int(secs / 60 % 60);
        dt.second = int(secs % 60);
        return true;
    }
    return parseDate(reinterpret_cast<const char*>(sqlite3_value_text(v)), dt);
}

long long toSeconds(const DateTime& dt)
{
    return daysFromCivil(dt.year, dt.month, dt.day) * 86400 + dt.hour * 3600 + dt.minute * 60 +
           dt.second;
}

DateTime fromSeconds(long long secs)
{
    DateTime dt;
    long long days = secs / 86400;
    long long rest = secs % 86400;
    if (rest < 0) {
        rest += 86400;
        --days;
    }
    civilFromDays(days, dt.year, dt.month, dt.day);
    dt.hour = int(rest / 3600);
    dt.minute = int(rest / 60 % 60);
    dt.second = int(rest % 60);
    return dt;
}

std::string formatDate(const DateTime& dt)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d", dt.year, dt.month, dt.day,
                  dt.hour, dt.minute, dt.second);
    return buffer;
}

void resultText(sqlite3_context* ctx, const std::string& text)
{
    sqlite3_result_text(ctx, text.c_str(), int(text.size()), SQLITE_TRANSIENT);
}

enum class Part
{
    Year,
    Quarter,
    Month,
    DayOfYear,
    Day,
    Week,
    Weekday,
    Hour,
    Minute,
    Second,
    Unknown
};

Part partOf(sqlite3_value* v)
{
    const unsigned char* raw = sqlite3_value_text(v);
    if (!raw)
        return Part::Unknown;
    std::string p;
    for (const unsigned char* c = raw; *c; ++c)
        p += char(std::tolower(*c));
    if (p == "yy" || p == "yyyy" || p == "year")
        return Part::Year;
    if (p == "qq" || p == "q" || p == "quarter")
        return Part::Quarter;
    if (p == "mm" || p == "m" || p == "month")
        return Part::Month;
    if (p == "dy" || p == "y" || p == "dayofyear")
        return Part::DayOfYear;
    if (p == "dd" || p == "d" || p == "day")
        return Part::Day;
    if (p == "wk" || p == "ww" || p == "week")
        return Part::Week;
    if (p == "dw" || p == "w" || p == "weekday")
        return Part::Weekday;
    if (p == "hh" || p == "hour")
        return Part::Hour;
    if (p == "mi" || p == "n" || p == "minute")
        return Part::Minute;
    if (p == "ss" || p == "s" || p == "second")
        return Part::Second;
    return Part::Unknown;
}

// Day of week with Sunday = 1 (SQL Server's default DATEFIRST 7).
int weekday(const DateTime& dt)
{
    const long long days = daysFromCivil(dt.year, dt.month, dt.day);
    return int(((days + 4) % 7 + 7) % 7) + 1; // 1970-01-01 was a Thursday
}

void fnGetDate(sqlite3_context* ctx, int, sqlite3_value**)
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    DateTime dt{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                local.tm_hour,        local.tm_min,     local.tm_sec};
    resultText(ctx, formatDate(dt));
}

void fnDatePart(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    DateTime dt;
    const Part part = partOf(argv[0]);
    if (part == Part::Unknown) {
        sqlite3_result_error(ctx, "datepart: unknown date part", -1);
        return;
    }
    if (!argDate(argv[1], dt)) {
        sqlite3_result_null(ctx);
        return;
    }
    int value = 0;
    switch (part) {
    case Part::Year:
        value = dt.year;
        break;
    case Part::Quarter:
        value = (dt.month - 1) / 3 + 1;
        break;
    case Part::Month:
        value = dt.month;
        break;
    case Part::DayOfYear:
        value = int(daysFromCivil(dt.year, dt.month, dt.day) - daysFromCivil(dt.year, 1, 1)) + 1;
        break;
    case Part::Day:
        value = dt.day;
        break;
    case Part::Week: {
        const int jan1 = weekday(DateTime{dt.year, 1, 1, 0, 0, 0});
        const int doy =
            int(daysFromCivil(dt.year, dt.month, dt.day) - daysFromCivil(dt.year, 1, 1));
        value = (doy + jan1 - 1) / 7 + 1;
        break;
    }
    case Part::Weekday:
        value = weekday(dt);
        break;
    case Part::Hour:
        value = dt.hour;
        break;
    case Part::Minute:
        value = dt.minute;
        break;
    case Part::Second:
        value = dt.second;
        break;
    case Part::Unknown:
        break;
    }
    sqlite3_result_int(ctx, value);
}

void fnDateDiff(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    DateTime a, b;
    const Part part = partOf(argv[0]);
    if (part == Part::Unknown) {
        sqlite3_result_error(ctx, "datediff: unknown date part", -1);
        return;
    }
    if (!argDate(argv[1], a) || !argDate(argv[2], b)) {
        sqlite3_result_null(ctx);
        return;
    }
    // SQL Server counts the boundaries crossed, so truncate both ends to the part first.
    auto floorDiv = [](long long x, long long y) {
        return x / y - ((x % y != 0) && ((x < 0) != (y < 0)));
    };
    const long long sa = toSeconds(a), sb = toSeconds(b);
    long long value = 0;
    switch (part) {
    case Part::Year:
        value = b.year - a.year;
        break;
    case Part::Quarter:
        value = (b.year * 4 + (b.month - 1) / 3) - (a.year * 4 + (a.month - 1) / 3);
        break;
    case Part::Month:
        value = (b.year * 12 + b.month) - (a.year * 12 + a.month);
        break;
    case Part::DayOfYear:
    case Part::Day:
    case Part::Weekday:
        value = floorDiv(sb, 86400) - floorDiv(sa, 86400);
        break;
    case Part::Week:
        value = floorDiv(floorDiv(sb, 86400) + 4, 7) - floorDiv(floorDiv(sa, 86400) + 4, 7);
        break;
    case Part::Hour:
        value = floorDiv(sb, 3600) - floorDiv(sa, 3600);
        break;
    case Part::Minute:
        value = floorDiv(sb, 60) - floorDiv(sa, 60);
        break;
    case Part::Second:
        value = sb - sa;
        break;
    case Part::Unknown:
        break;
    }
    sqlite3_result_int64(ctx, value);
}

void fnDateAdd(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    DateTime dt;
    const Part part = partOf(argv[0]);
    if (part == Part::Unknown) {
        sqlite3_result_error(ctx, "dateadd: unknown date part", -1);
        return;
    }
    if (sqlite3_value_type(argv[1]) == SQLITE_NULL || !argDate(argv[2], dt)) {
        sqlite3_result_null(ctx);
        return;
    }
    const long long n = sqlite3_value_int64(argv[1]);
    auto addMonths = [&](long long months) {
        long long total = dt.year * 12LL + (dt.month - 1) + months;
        dt.year = int(total / 12);
        dt.month = int(total % 12) + 1;
        dt.day = dt.day > daysInMonth(dt.year, dt.month) ? daysInMonth(dt.year, dt.month) : dt.day;
    };
    switch (part) {
    case Part::Year:
        addMonths(n * 12);
        break;
    case Part::Quarter:
        addMonths(n * 3);
        break;
    case Part::Month:
        addMonths(n);
        break;
    case Part::DayOfYear:
    case Part::Day:
    case Part::Weekday:
        dt = fromSeconds(toSeconds(dt) + n * 86400);
        break;
    case Part::Week:
        dt = fromSeconds(toSeconds(dt) + n * 7 * 86400);
        break;
    case Part::Hour:
        dt = fromSeconds(toSeconds(dt) + n * 3600);
        break;
    case Part::Minute:
        dt = fromSeconds(toSeconds(dt) + n * 60);
        break;
    case Part::Second:
        dt = fromSeconds(toSeconds(dt) + n);
        break;
    case Part::Unknown:
        break;
    }
    resultText(ctx, formatDate(dt));
}

// convert(type, value [, style]) with the type given as text, such as 'varchar(10)'.
void fnConvert(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    const unsigned char* rawType = sqlite3_value_text(argv[0]);
    std::string type;
    for (const unsigned char* c = rawType; c && *c; ++c)
        if (!std::isspace(*c))
            type += char(std::tolower(*c));
    const int style = argc > 2 ? sqlite3_value_int(argv[2]) : 0;
    sqlite3_value* value = argv[1];
    if (sqlite3_value_type(value) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    int length = -1;
    if (const auto open = type.find('('); open != std::string::npos) {
        length = std::atoi(type.c_str() + open + 1);
        type.resize(open);
    }
    if (type == "varchar" || type == "nvarchar" || type == "char" || type == "nchar" ||
        type == "text" || type == "ntext") {
        std::string text;
        DateTime dt;
        const bool isDateText =
            sqlite3_value_type(value) == SQLITE_TEXT && style != 0 && argDate(value, dt);
        if (isDateText) {
            char buffer[32];
            switch (style) {
            case 23:
            case 120:
            case 121:
            case 20:
            case 21:
                text = formatDate(dt);
                if (style == 23)
                    text.resize(10);
                break;
            case 108:
            case 8:
                std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d", dt.hour, dt.minute,
                              dt.second);
                text = buffer;
                break;
            case 112:
                std::snprintf(buffer, sizeof buffer, "%04d%02d%02d", dt.year, dt.month, dt.day);
                text = buffer;
                break;
            case 111:
                std::snprintf(buffer, sizeof buffer, "%04d/%02d/%02d", dt.year, dt.month, dt.day);
                text = buffer;
                break;
            case 102:
                std::snprintf(buffer, sizeof buffer, "%04d.%02d.%02d", dt.year, dt.month, dt.day);
                text = buffer;
                break;
            default:
                text = formatDate(dt);
                break;
            }
        } else {
            const unsigned char* raw = sqlite3_value_text(value);
            text = raw ? reinterpret_cast<const char*>(raw) : "";
        }
        if (length >= 0 && int(text.size()) > length) {
            // Cut at a character boundary (UTF-8), counting characters as SQL Server does.
            int chars = 0;
            size_t i = 0;
            for (; i < text.size(); ++i) {
                if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
                    if (chars == length)
                        break;
                    ++chars;
                }
            }
            text.resize(i);
        }
        resultText(ctx, text);
    } else if (type == "datetime" || type == "smalldatetime" || type == "date") {
        DateTime dt;
        if (!argDate(value, dt)) {
            sqlite3_result_error(ctx, "convert: not a date", -1);
            return;
        }
        if (type == "date")
            dt.hour = dt.minute = dt.second = 0;
        resultText(ctx, formatDate(dt));
    } else if (type == "int" || type == "bigint" || type == "smallint" || type == "tinyint" ||
               type == "bit") {
        sqlite3_result_int64(ctx, (long long)sqlite3_value_double(value));
    } else if (type == "decimal" || type == "numeric" || type == "money" || type == "float" ||
               type == "real") {
        sqlite3_result_double(ctx, sqlite3_value_double(value));
    } else {
        sqlite3_result_error(ctx, "convert: unsupported type", -1);
    }
}

void fnLeftRight(sqlite3_context* ctx, sqlite3_value** argv, bool left)
{
    const unsigned char* raw = sqlite3_value_text(argv[0]);
    if (!raw || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const std::string text(reinterpret_cast<const char*>(raw));
    std::vector<size_t> starts;
    for (size_t i = 0; i < text.size(); ++i)
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80)
            starts.push_back(i);
    long long n = sqlite3_value_int64(argv[1]);
    if (n < 0)
        n = 0;
    const size_t count = starts.size();
    if (size_t(n) >= count) {
        resultText(ctx, text);
        return;
    }
    if (left)
        resultText(ctx, text.substr(0, starts[size_t(n)]));
    else
        resultText(ctx, text.substr(starts[count - size_t(n)]));
}

void fnLeft(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    fnLeftRight(ctx, argv, true);
}
void fnRight(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    fnLeftRight(ctx, argv, false);
}

void fnDateField(sqlite3_context* ctx, sqlite3_value* v, int which)
{
    DateTime dt;
    if (!argDate(v, dt)) {
        sqlite3_result_null(ctx);
        return;
    }
    sqlite3_result_int(ctx, which == 0 ? dt.year : which == 1 ? dt.month : dt.day);
}

void fnYear(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    fnDateField(ctx, argv[0], 0);
}
void fnMonth(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    fnDateField(ctx, argv[0], 1);
}
void fnDay(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    fnDateField(ctx, argv[0], 2);
}

// sum(x) in exact decimal fixed point, as SQL Server sums its decimal columns: each value is
// taken as the decimal it stands for (an amount of four decimals exactly; any other value to
// eight decimals, which takes away the binary error of a product of two amounts) and the sum is
// made in integers. The result is the double nearest the exact sum, so that a sum of sums (the
// day summaries' sums summed over a month) equals the sum of the lines themselves, bit for bit;
// an integer where every value was an integer (an integer overflow fails, as SQLite's own sum
// does); NULL over no value. Also a window function (exact sums subtract exactly).
struct ExactSum
{
    __int128 units = 0;     // hundred-millionths
    long long values = 0;   // non-NULL values summed
    long long decimals = 0; // of them, not integers
    long long huge = 0;     // of them, beyond what the units hold (summed as doubles)
    double hugeSum = 0;
};

constexpr long long kExactScale = 100000000; // 10^8

// The units of a double, false when it is too large (or not finite) to be held in them.
bool exactUnits(double d, __int128& units)
{
    const double a = std::fabs(d);
    if (a < 9e14) {
        const double four = std::round(d * 1e4);
        if (four / 1e4 == d) { // the nearest double to a value of four decimals: that value
            units = __int128(static_cast<long long>(four)) * 10000;
            return true;
        }
    }
    if (a < 9e10) {
        units = std::llround(d * 1e8);
        return true;
    }
    if (a < 1e28) {
        const double whole = std::round(d);
        units = __int128(whole) * kExactScale + std::llround((d - whole) * 1e8);
        return true;
    }
    return false;
}

void exactStep(sqlite3_context* ctx, sqlite3_value* v, int sign)
{
    const int type = sqlite3_value_numeric_type(v);
    if (type == SQLITE_NULL)
        return;
    auto* s = static_cast<ExactSum*>(sqlite3_aggregate_context(ctx, sizeof(ExactSum)));
    if (!s) {
        sqlite3_result_error_nomem(ctx);
        return;
    }
    s->values += sign;
    if (type == SQLITE_INTEGER) {
        s->units += __int128(sqlite3_value_int64(v)) * kExactScale * sign;
        return;
    }
    s->decimals += sign;
    const double d = sqlite3_value_double(v);
    __int128 units = 0;
    if (exactUnits(d, units)) {
        s->units += units * sign;
    } else {
        s->huge += sign;
        s->hugeSum += d * sign;
    }
}

void fnExactSumStep(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    exactStep(ctx, argv[0], 1);
}

void fnExactSumInverse(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    exactStep(ctx, argv[0], -1);
}

// The double nearest units / 10^8.
double exactDouble(__int128 units)
{
    const __int128 limit = __int128(1) << 53;
    if (units > -limit && units < limit)
        return double(static_cast<long long>(units)) / 1e8;
    if (units % 10000 == 0 && units / 10000 > -limit && units / 10000 < limit)
        return double(static_cast<long long>(units / 10000)) / 1e4;
    const bool negative = units < 0;
    unsigned __int128 m = negative ? 0 - static_cast<unsigned __int128>(units)
                                   : static_cast<unsigned __int128>(units);
    char digits[64];
    int n = 0;
    do {
        digits[n++] = char('0' + int(m % 10));
        m /= 10;
    } while (m != 0);
    std::string text = negative ? "-" : "";
    for (int i = n - 1; i >= 0; --i)
        text += digits[i];
    text += "e-8";
    return std::strtod(text.c_str(), nullptr);
}

void exactResult(sqlite3_context* ctx)
{
    auto* s = static_cast<ExactSum*>(sqlite3_aggregate_context(ctx, 0));
    if (!s || s->values == 0) {
        sqlite3_result_null(ctx);
        return;
    }
    if (s->huge != 0) {
        sqlite3_result_double(ctx, s->hugeSum + exactDouble(s->units));
        return;
    }
    if (s->decimals == 0) {
        const __int128 whole = s->units / kExactScale;
        if (whole > INT64_MAX || whole < INT64_MIN) {
            sqlite3_result_error(ctx, "integer overflow", -1);
            return;
        }
        sqlite3_result_int64(ctx, static_cast<sqlite3_int64>(whole));
        return;
    }
    sqlite3_result_double(ctx, exactDouble(s->units));
}

void fnExactSumValue(sqlite3_context* ctx)
{
    exactResult(ctx);
}

void fnExactSumFinal(sqlite3_context* ctx)
{
    exactResult(ctx);
}

} // namespace

int registerSqlFunctions(sqlite3* db)
{
    struct Entry
    {
        const char* name;
        int args;
        void (*fn)(sqlite3_context*, int, sqlite3_value**);
        bool deterministic;
    };
    static const Entry entries[] = {
        {"getdate", 0, fnGetDate, false},
        {"datepart", 2, fnDatePart, true},
        {"datediff", 3, fnDateDiff, true},
        {"dateadd", 3, fnDateAdd, true},
        {"vtx_convert", 2, fnConvert, true},
        {"vtx_convert", 3, fnConvert, true},
        {"left", 2, fnLeft, true},
        {"right", 2, fnRight, true},
        {"year", 1, fnYear, true},
        {"month", 1, fnMonth, true},
        {"day", 1, fnDay, true},
    };
    for (const Entry& e : entries) {
        const int flags = SQLITE_UTF8 | (e.deterministic ? SQLITE_DETERMINISTIC : 0);
        const int rc =
            sqlite3_create_function(db, e.name, e.args, flags, nullptr, e.fn, nullptr, nullptr);
        if (rc != SQLITE_OK)
            return rc;
    }
    // In place of SQLite's own sum (a double accumulated line by line) on this connection.
    return sqlite3_create_window_function(db, "sum", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                                          fnExactSumStep, fnExactSumFinal, fnExactSumValue,
                                          fnExactSumInverse, nullptr);
}

#ifdef VTX_SQLITE_EXTENSION
extern "C" {
__attribute__((visibility("default"))) int sqlite3_vtxsqlfn_init(sqlite3* db, char**,
                                                                 const sqlite3_api_routines* api)
{
    SQLITE_EXTENSION_INIT2(api);
    return registerSqlFunctions(db);
}
__attribute__((visibility("default"))) int sqlite3_extension_init(sqlite3* db, char** err,
                                                                  const sqlite3_api_routines* api)
{
    return sqlite3_vtxsqlfn_init(db, err, api);
}
}
#endif
