#pragma once

#include "core/IQueryItems.h"

#include <QString>

#include <memory>

class QueryColumns;

// One column definition of a query control: the eleven values a screen passes to
// Columns().Add or SubColumns().add.
//
// The field text is "field", "expression|name" (a computed column named `name`), "|name" (a
// header-only column when it has sub-columns; without sub-columns an empty data column the screen
// fills itself) or "field|" (a sub-column told apart from its siblings by its condition). After
// the language file has translated the control only the part before "|" is left; both forms
// mean the same column.
//
// Values 5, 6 and 11 are kept as given. Value 6 matters with key fields: 1 makes the column
// sum its values over the rows folded into one grid row (see ctlQuery).
class QueryColumn : public IQueryItem
{
public:
    QueryColumn(const QString& field, const QString& caption, const QString& condition,
                const QString& value4, bool value5, int value6, bool sum, int kind, int width,
                int backColor, bool value11);
    ~QueryColumn() override;

    // -- IQueryItem (the language file's view) --------------------------------------------------
    QString fieldText() const override { return m_fieldText; }
    void setFieldText(const QString& text) override { m_fieldText = text; }
    QString caption() const override { return m_caption; }
    void setCaption(const QString& caption) override { m_caption = caption; }
    int subItemCount() const override;
    IQueryItem* subItem(int index) override;

    // The part of the field text before "|" (the whole text without one): a field name or an
    // expression over the result's fields.
    QString expression() const;
    // The part after "|" (the whole text without one): the column's key in the language file.
    QString name() const;
    // A column with sub-columns and no expression: a caption over its sub-columns only.
    bool isHeaderOnly() const;

    QString condition() const { return m_condition; }
    void setCondition(const QString& condition) { m_condition = condition; }
    QString value4() const { return m_value4; }
    bool value5() const { return m_value5; }
    int value6() const { return m_value6; }
    bool isSummed() const { return m_sum; }
    void setSummed(bool on) { m_sum = on; }
    int kind() const { return m_kind; } // 1 text, 13 number, 14 percent
    void setKind(int kind) { m_kind = kind; }
    int width() const { return m_width; } // twips, -1 for the control's choice
    void setWidth(int twips) { m_width = twips; }
    int backColor() const { return m_backColor; } // BGR number (&HE0E0E0), -1 for none
    void setBackColor(int bgr) { m_backColor = bgr; }
    bool value11() const { return m_value11; }
    // The column holds dates: a date-time at midnight shows as its date alone ("2026-03-09").
    bool holdsDates() const { return m_dates; }
    void setHoldsDates(bool on) { m_dates = on; }

    // The columns under a header-only column.
    QueryColumns& SubColumns() { return *m_sub; }
    const QueryColumns& SubColumns() const { return *m_sub; }

private:
    QString m_fieldText, m_caption, m_condition, m_value4;
    bool m_value5 = false;
    int m_value6 = 0;
    bool m_sum = false;
    int m_kind = 1;
    int m_width = -1;
    int m_backColor = -1;
    bool m_value11 = true;
    bool m_dates = false;
    std::unique_ptr<QueryColumns> m_sub;
};
