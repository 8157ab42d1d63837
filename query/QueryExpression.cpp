#include "query/QueryExpression.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int MaxDepth = 64;

int compareTexts(QStringView a, QStringView b)
{
    return a.compare(b, Qt::CaseInsensitive);
}

} // namespace

double QueryValue::toNumber(bool* ok) const
{
    if (kind == Number) {
        if (ok)
            *ok = true;
        return number;
    }
    if (kind == Text) {
        bool good = false;
        const double v = text.trimmed().toDouble(&good);
        if (ok)
            *ok = good;
        return good ? v : 0.0;
    }
    if (ok)
        *ok = false;
    return 0.0;
}

bool QueryValue::isTrue() const
{
    if (kind == Number)
        return number != 0;
    return kind == Text && toNumber() != 0;
}

// Recursive descent over the text, emitting postfix code.
class QueryExpressionParser
{
public:
    QueryExpressionParser(QueryExpression& out, const QString& text,
                          const QueryExpression::Resolver& resolve)
        : m_out(out), m_text(text), m_resolve(resolve)
    {
    }

    bool run(QString* error)
    {
        next();
        orExpr();
        if (m_error.isEmpty() && m_tok != Tok::End)
            fail(QStringLiteral("unexpected \"%1\"").arg(m_tokText));
        if (!m_error.isEmpty()) {
            if (error)
                *error = m_error;
            return false;
        }
        return true;
    }

private:
    using Op = QueryExpression::Op;
    enum class Tok
    {
        End,
        Number,
        Text,
        Name,
        LParen,
        RParen,
        Plus,
        Minus,
        Star,
        Slash,
        Cmp,
        And,
        Or,
        Not,
        Bad
    };

    QueryExpression& m_out;
    const QString& m_text;
    const QueryExpression::Resolver& m_resolve;
    qsizetype m_pos = 0;
    Tok m_tok = Tok::End;
    QString m_tokText;
    double m_tokNum = 0;
    QString m_error;
    int m_stack = 0;

    void fail(const QString& message)
    {
        if (m_error.isEmpty())
            m_error = message;
        m_tok = Tok::End;
    }

    void put(Op op, int arg = 0, double num = 0)
    {
        m_out.m_code.push_back({op, arg, num});
        switch (op) {
        case Op::Field:
        case Op::Number:
        case Op::Text:
            m_out.m_depth = std::max(m_out.m_depth, ++m_stack);
            break;
        case Op::Neg:
        case Op::Not:
            break;
        default:
            --m_stack;
        }
        if (m_out.m_depth > MaxDepth)
            fail(QStringLiteral("expression too deeply nested"));
    }

    void next()
    {
        const QString& s = m_text;
        while (m_pos < s.size() && s.at(m_pos).isSpace())
            ++m_pos;
        m_tokText.clear();
        if (m_pos >= s.size()) {
            m_tok = Tok::End;
            return;
        }
        const QChar c = s.at(m_pos);
        const qsizetype start = m_pos;
        if (c.isDigit() ||
            (c == QLatin1Char('.') && m_pos + 1 < s.size() && s.at(m_pos + 1).isDigit())) {
            while (m_pos < s.size() && (s.at(m_pos).isDigit() || s.at(m_pos) == QLatin1Char('.')))
                ++m_pos;
            m_tokText = s.mid(start, m_pos - start);
            bool ok = false;
            m_tokNum = m_tokText.toDouble(&ok);
            m_tok = ok ? Tok::Number : Tok::Bad;
            return;
        }
        if (c == QLatin1Char('\'')) {
            ++m_pos;
            while (true) {
                if (m_pos >= s.size()) {
                    fail(QStringLiteral("unterminated text"));
                    return;
                }
                if (s.at(m_pos) == QLatin1Char('\'')) {
                    if (m_pos + 1 < s.size() && s.at(m_pos + 1) == QLatin1Char('\'')) {
                        m_tokText += QLatin1Char('\'');
                        m_pos += 2;
                        continue;
                    }
                    ++m_pos;
                    break;
                }
                m_tokText += s.at(m_pos++);
            }
            m_tok = Tok::Text;
            return;
        }
        if (c == QLatin1Char('[')) {
            const qsizetype end = s.indexOf(QLatin1Char(']'), m_pos);
            if (end < 0) {
                fail(QStringLiteral("unterminated [name]"));
                return;
            }
            m_tokText = s.mid(m_pos + 1, end - m_pos - 1);
            m_pos = end + 1;
            m_tok = Tok::Name;
            return;
        }
        if (c.isLetter() || c == QLatin1Char('_') || c == QLatin1Char('#') ||
            c == QLatin1Char('@')) {
            while (m_pos < s.size() &&
                   (s.at(m_pos).isLetterOrNumber() || s.at(m_pos) == QLatin1Char('_') ||
                    s.at(m_pos) == QLatin1Char('.') || s.at(m_pos) == QLatin1Char('#') ||
                    s.at(m_pos) == QLatin1Char('@')))
                ++m_pos;
            m_tokText = s.mid(start, m_pos - start);
            const QString upper = m_tokText.toUpper();
            m_tok = upper == QLatin1String("AND")   ? Tok::And
                    : upper == QLatin1String("OR")  ? Tok::Or
                    : upper == QLatin1String("NOT") ? Tok::Not
                                                    : Tok::Name;
            return;
        }
        ++m_pos;
        m_tokText = c;
        switch (c.unicode()) {
        case '(':
            m_tok = Tok::LParen;
            return;
        case ')':
            m_tok = Tok::RParen;
            return;
        case '+':
            m_tok = Tok::Plus;
            return;
        case '-':
            m_tok = Tok::Minus;
            return;
        case '*':
            m_tok = Tok::Star;
            return;
        case '/':
            m_tok = Tok::Slash;
            return;
        case '=':
            m_tok = Tok::Cmp;
            return;
        case '<':
        case '>':
        case '!':
            if (m_pos < s.size() && (s.at(m_pos) == QLatin1Char('=') ||
                                     (c == QLatin1Char('<') && s.at(m_pos) == QLatin1Char('>'))))
                m_tokText += s.at(m_pos++);
            m_tok = m_tokText == QLatin1String("!") ? Tok::Bad : Tok::Cmp;
            return;
        default:
            m_tok = Tok::Bad;
        }
    }

    void orExpr()
    {
        andExpr();
        while (m_tok == Tok::Or) {
            next();
            andExpr();
            put(Op::Or);
        }
    }
    void andExpr()
    {
        notExpr();
        while (m_tok == Tok::And) {
            next();
            notExpr();
            put(Op::And);
        }
    }
    void notExpr()
    {
        if (m_tok == Tok::Not) {
            next();
            notExpr();
            put(Op::Not);
            return;
        }
        compare();
    }
    void compare()
    {
        sum();
        if (m_tok != Tok::Cmp)
            return;
        const QString op = m_tokText;
        next();
        sum();
        if (op == QLatin1String("="))
            put(Op::Eq);
        else if (op == QLatin1String("<>") || op == QLatin1String("!="))
            put(Op::Ne);
        else if (op == QLatin1String("<"))
            put(Op::Lt);
        else if (op == QLatin1String(">"))
            put(Op::Gt);
        else if (op == QLatin1String("<="))
            put(Op::Le);
        else
            put(Op::Ge);
    }
    void sum()
    {
        product();
        while (m_tok == Tok::Plus || m_tok == Tok::Minus) {
            const Op op = m_tok == Tok::Plus ? Op::Add : Op::Sub;
            next();
            product();
            put(op);
        }
    }
    void product()
    {
        unary();
        while (m_tok == Tok::Star || m_tok == Tok::Slash) {
            const Op op = m_tok == Tok::Star ? Op::Mul : Op::Div;
            next();
            unary();
            put(op);
        }
    }
    void unary()
    {
        if (m_tok == Tok::Minus || m_tok == Tok::Plus) {
            const bool neg = m_tok == Tok::Minus;
            next();
            unary();
            if (neg)
                put(Op::Neg);
            return;
        }
        primary();
    }
    void primary()
    {
        switch (m_tok) {
        case Tok::Number:
            put(Op::Number, 0, m_tokNum);
            next();
            return;
        case Tok::Text:
            m_out.m_texts.append(m_tokText);
            put(Op::Text, int(m_out.m_texts.size() - 1));
            next();
            return;
        case Tok::Name: {
            QString name = m_tokText;
            int index = m_resolve(name);
            if (index < 0 && name.contains(QLatin1Char('.')))
                index = m_resolve(name.mid(name.lastIndexOf(QLatin1Char('.')) + 1));
            if (index < 0) {
                fail(QStringLiteral("unknown field \"%1\"").arg(name));
                return;
            }
            put(Op::Field, index);
            next();
            return;
        }
        case Tok::LParen:
            next();
            orExpr();
            if (m_tok != Tok::RParen) {
                fail(QStringLiteral("\")\" expected"));
                return;
            }
            next();
            return;
        case Tok::End:
            fail(QStringLiteral("unexpected end of expression"));
            return;
        default:
            fail(QStringLiteral("unexpected \"%1\"").arg(m_tokText));
        }
    }
};

bool QueryExpression::compile(const QString& text, const Resolver& resolve, QString* error)
{
    m_code.clear();
    m_texts.clear();
    m_fields.clear();
    m_depth = 0;
    if (text.trimmed().isEmpty())
        return true;
    QueryExpressionParser parser(*this, text, resolve);
    if (!parser.run(error)) {
        m_code.clear();
        return false;
    }
    for (const Instr& i : m_code)
        if (i.op == Op::Field)
            m_fields.push_back(i.arg);
    m_stack.assign(size_t(m_depth) + 1, QueryValue());
    std::sort(m_fields.begin(), m_fields.end());
    m_fields.erase(std::unique(m_fields.begin(), m_fields.end()), m_fields.end());
    return true;
}

// Compares two non-null values: numerically when both read as numbers, else as texts.
static int compareValues(const QueryValue& a, const QueryValue& b)
{
    if (a.kind == QueryValue::Text && b.kind == QueryValue::Text)
        return compareTexts(a.text, b.text);
    bool okA = false, okB = false;
    const double x = a.toNumber(&okA), y = b.toNumber(&okB);
    if (okA && okB)
        return x < y ? -1 : (x > y ? 1 : 0);
    const QString sa =
        a.kind == QueryValue::Text ? a.text.toString() : QString::number(a.number, 'g', 15);
    const QString sb =
        b.kind == QueryValue::Text ? b.text.toString() : QString::number(b.number, 'g', 15);
    return compareTexts(sa, sb);
}

QueryValue QueryExpression::evaluate(const QueryValue* row) const
{
    if (m_code.empty())
        return {};
    // A comparison's outcome from compareValues' result.
    const auto compared = [](int c, Op op) {
        switch (op) {
        case Op::Eq:
            return c == 0;
        case Op::Ne:
            return c != 0;
        case Op::Lt:
            return c < 0;
        case Op::Gt:
            return c > 0;
        case Op::Le:
            return c <= 0;
        default:
            return c >= 0;
        }
    };
    // The usual shapes, a field against a number or a field (the conditions "CheckOutNull=0",
    // "SumOfConsume<>0", the column "SumPaid-SumInCash"), over numbers: worked out directly,
    // as the general path below would.
    if (m_code.size() == 3 && m_code[0].op == Op::Field && m_code[2].op >= Op::Add &&
        m_code[2].op <= Op::Ge && row[m_code[0].arg].kind == QueryValue::Number) {
        const Instr& second = m_code[1];
        const QueryValue* other = second.op == Op::Field ? &row[second.arg] : nullptr;
        if (second.op == Op::Number || (other && other->kind == QueryValue::Number)) {
            const double x = row[m_code[0].arg].number, y = other ? other->number : second.num;
            switch (m_code[2].op) {
            case Op::Add:
                return QueryValue::fromNumber(x + y);
            case Op::Sub:
                return QueryValue::fromNumber(x - y);
            case Op::Mul:
                return QueryValue::fromNumber(x * y);
            case Op::Div:
                return y == 0 ? QueryValue() : QueryValue::fromNumber(x / y);
            default:
                return QueryValue::fromNumber(compared(x < y ? -1 : (x > y ? 1 : 0), m_code[2].op));
            }
        }
    }
    QueryValue* stack = m_stack.data();
    int top = -1;
    for (const Instr& in : m_code) {
        switch (in.op) {
        case Op::Field:
            stack[++top] = row[in.arg];
            continue;
        case Op::Number:
            stack[++top] = QueryValue::fromNumber(in.num);
            continue;
        case Op::Text:
            stack[++top] = QueryValue::fromText(m_texts.at(in.arg));
            continue;
        case Op::Neg:
            if (!stack[top].isNull())
                stack[top] = QueryValue::fromNumber(-stack[top].toNumber());
            continue;
        case Op::Not:
            stack[top] = QueryValue::fromNumber(stack[top].isTrue() ? 0 : 1);
            continue;
        default:
            break;
        }
        const QueryValue b = stack[top--];
        QueryValue& a = stack[top];
        switch (in.op) {
        case Op::And:
            a = QueryValue::fromNumber(a.isTrue() && b.isTrue());
            break;
        case Op::Or:
            a = QueryValue::fromNumber(a.isTrue() || b.isTrue());
            break;
        case Op::Add:
        case Op::Sub:
        case Op::Mul:
        case Op::Div: {
            if (a.isNull() || b.isNull()) {
                a = {};
                break;
            }
            const double x = a.toNumber(), y = b.toNumber();
            if (in.op == Op::Add)
                a = QueryValue::fromNumber(x + y);
            else if (in.op == Op::Sub)
                a = QueryValue::fromNumber(x - y);
            else if (in.op == Op::Mul)
                a = QueryValue::fromNumber(x * y);
            else
                a = y == 0 ? QueryValue() : QueryValue::fromNumber(x / y);
            break;
        }
        default: {
            if (a.isNull() || b.isNull()) {
                a = QueryValue::fromNumber(0);
                break;
            }
            a = QueryValue::fromNumber(compared(compareValues(a, b), in.op));
        }
        }
    }
    return stack[top];
}
