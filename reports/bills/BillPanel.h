#pragma once

#include <QWidget>

#include <initializer_list>
#include <vector>

class Bill;
class BillHeaderPanel;
class QueryColumns;
class ctlQuery;

// One settled bill as the bill detail and the bill audit show it: the header
// (BillHeaderPanel), the item lines (ctlQuery1) and the payments (ctlQuery2), one above the
// other. Each window declares its own columns (their captions, order and widths differ); the
// panel sets the grids up, runs the two statements and says why one failed.
class BillPanel : public QWidget
{
    Q_OBJECT
public:
    struct Columns
    {
        void (*items)(QueryColumns&);    // the item lines' columns
        std::vector<int> centredItems;   // item columns shown centred
        void (*payments)(QueryColumns&); // the payments' columns
    };

    BillPanel(const Columns& columns, QWidget* parent);

    // Sets both grids up empty (9 item rows, 6 payment rows), their captions translated
    // through `form`'s language section. Called once the form has translated itself.
    void setUpGrids(QWidget* form);
    // The header from a loaded bill, or empty (null).
    void showHeader(const Bill* bill);
    // Fills the two grids; false, with the reason in `why`, when either statement fails.
    bool showLines(const QString& itemsSql, const QString& paymentsSql, QString* why = nullptr);

    BillHeaderPanel* header() const { return m_header; }
    ctlQuery* items() const { return m_items; }
    ctlQuery* payments() const { return m_payments; }

private:
    Columns m_columns;
    BillHeaderPanel* m_header = nullptr;
    ctlQuery* m_items = nullptr;
    ctlQuery* m_payments = nullptr;
};
