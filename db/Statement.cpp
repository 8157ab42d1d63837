#include "db/Statement.h"

#include <stdexcept>

Statement Statement::mark(const QVariant& what)
{
    Statement s;
    s.m_marks.append({0, what});
    return s;
}

Statement& Statement::operator+=(const Statement& more)
{
    const qsizetype shift = m_text.size();
    m_text += more.m_text;
    m_parameters += more.m_parameters;
    for (const Mark& m : more.m_marks)
        m_marks.append({m.at + shift, m.what});
    return *this;
}

Statement Statement::filled(const std::function<QString(const QVariant&)>& fragment) const
{
    Statement s;
    s.m_parameters = m_parameters;
    qsizetype from = 0;
    for (const Mark& m : m_marks) {
        s.m_text += QStringView(m_text).mid(from, m.at - from);
        s.m_text += fragment(m.what);
        from = m.at;
    }
    s.m_text += QStringView(m_text).mid(from);
    return s;
}

Statement Statement::replaced(const QString& before, const QString& after) const
{
    Statement s;
    s.m_parameters = m_parameters;
    qsizetype from = 0;
    for (const Mark& m : m_marks) {
        s.m_text += m_text.mid(from, m.at - from).replace(before, after);
        s.m_marks.append({s.m_text.size(), m.what});
        from = m.at;
    }
    s.m_text += m_text.mid(from).replace(before, after);
    return s;
}

void Statement::requireFilled() const
{
    if (hasMarks())
        throw std::logic_error("a statement still has a fragment to be written: " +
                               m_text.simplified().left(120).toStdString());
}

bool Statement::operator==(const Statement& other) const
{
    if (m_text != other.m_text || m_parameters != other.m_parameters ||
        m_marks.size() != other.m_marks.size())
        return false;
    for (qsizetype i = 0; i < m_marks.size(); ++i)
        if (m_marks[i].at != other.m_marks[i].at || m_marks[i].what != other.m_marks[i].what)
            return false;
    return true;
}
