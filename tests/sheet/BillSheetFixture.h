#pragma once

#include "sheet/Sheet.h"

// A bill-like grid for the output tests:
//   header row 1: 账单号 | 台号 | 金额 (over the next three) | 备注; row 2: 消费 | 折扣 | 折扣率
//   five bills (the third in red), then a bold totals row whose "合计" spans two columns.
// With extraRows > 0, that many more plain bills are inserted before the totals row.
inline void fillBillSheet(Sheet& s, int extraRows = 0)
{
    s.setReDraw(false);
    s.setMaxCols(6);
    s.setHeaderRows(2);
    const char* captions[] = {"账单号", "台号", "金额", "", "", "备注"};
    for (int c = 1; c <= 6; ++c)
        s.setHeaderText(1, c, QString::fromUtf8(captions[c - 1]));
    s.setHeaderText(2, 3, QStringLiteral("消费"));
    s.setHeaderText(2, 4, QStringLiteral("折扣"));
    s.setHeaderText(2, 5, QStringLiteral("折扣率"));
    s.addHeaderSpan({1, 1, 2, 1});
    s.addHeaderSpan({1, 2, 2, 2});
    s.addHeaderSpan({1, 3, 1, 5});
    s.addHeaderSpan({1, 6, 2, 6});
    s.setColumnType(3, CellType::Number);
    s.setColumnType(4, CellType::Number);
    s.setColumnType(5, CellType::Percent);
    const int widths[] = {1500, 900, 1400, 1200, 1200, 2000};
    for (int c = 1; c <= 6; ++c)
        s.setColumnWidth(c, widths[c - 1]);

    struct Bill
    {
        const char* id;
        const char* table;
        double amount, discount, rate;
    };
    const Bill bills[] = {{"B001", "A01", 1234.5, 10, 12.5},
                          {"B002", "A02", 880, 0, 0},
                          {"B003", "A03", 2500.75, 100, 4},
                          {"B004", "B01", 99.9, 0, 0},
                          {"B005", "B02", 1500, 50, 3.33}};
    s.setMaxRows(5 + extraRows + 1);
    int r = 1;
    for (const Bill& b : bills) {
        s.setText(r, 1, QString::fromUtf8(b.id));
        s.setText(r, 2, QString::fromUtf8(b.table));
        s.setNumber(r, 3, b.amount);
        s.setNumber(r, 4, b.discount);
        s.setNumber(r, 5, b.rate);
        ++r;
    }
    for (int i = 0; i < extraRows; ++i, ++r) {
        s.setText(r, 1, QStringLiteral("X%1").arg(i + 1, 4, 10, QLatin1Char('0')));
        s.setText(r, 2, QStringLiteral("C01"));
        s.setNumber(r, 3, 100);
        s.setNumber(r, 4, 0);
        s.setNumber(r, 5, 0);
    }
    CellStyle red;
    red.foreColor = QColor(255, 0, 0);
    s.applyStyle({3, 1, 3, 6}, red);
    s.setText(r, 1, QStringLiteral("合计"));
    s.addSpan({r, 1, r, 2});
    s.setNumber(r, 3, 6215.15 + 100 * extraRows);
    s.setNumber(r, 4, 160);
    CellStyle bold;
    QFont f = s.defaultFont();
    f.setBold(true);
    bold.font = f;
    s.applyStyle({r, 1, r, 6}, bold);
    s.setReDraw(true);
}
