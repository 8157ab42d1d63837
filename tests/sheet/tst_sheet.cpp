// The sheet model's storage and the view over it.
#include "sheet/Sheet.h"
#include "sheet/SheetHeaderView.h"
#include "sheet/SheetModel.h"
#include "sheet/SheetView.h"

#include <QSignalSpy>
#include <QTest>

#include <cmath>
#include <limits>

class TestSheet : public QObject
{
    Q_OBJECT
private slots:
    // Numbers, texts and empty cells share one 8-byte slot; edge values survive the packing.
    void cellStorage()
    {
        Sheet s;
        s.setMaxCols(3);
        s.setMaxRows(5);
        s.setColumnType(2, CellType::Number);
        s.setColumnType(3, CellType::Percent);
        s.setNumber(1, 2, 0.0);
        s.setNumber(2, 2, -0.0);
        s.setNumber(3, 2, std::numeric_limits<double>::quiet_NaN());
        s.setNumber(4, 2, 1234567.891);
        s.setText(5, 2, "小计"); // not a number: kept as text in a number column
        s.setText(1, 3, "12.5%");
        s.setText(1, 1, "B001");
        s.setText(2, 1, "B001");
        s.setText(3, 1, "");

        QVERIFY(s.isNumber(1, 2) && !s.isEmpty(1, 2));
        QCOMPARE(s.text(1, 2), QStringLiteral("0.00"));
        QCOMPARE(s.text(2, 2), QStringLiteral("0.00")); // no "-0.00"
        QVERIFY(s.isNumber(3, 2) && std::isnan(s.number(3, 2)));
        QCOMPARE(s.text(4, 2), QStringLiteral("1,234,567.89"));
        QCOMPARE(s.text(5, 2), QStringLiteral("小计"));
        QVERIFY(!s.isNumber(5, 2));
        QCOMPARE(s.value(1, 3).toDouble(), 12.5);
        QCOMPARE(s.text(1, 3), QStringLiteral("12.50%"));
        QCOMPARE(s.value(2, 1).toString(), QStringLiteral("B001"));
        QVERIFY(s.isEmpty(3, 1) && s.isEmpty(4, 1) && !s.value(4, 1).isValid());
        s.setColumnDecimals(2, 0);
        QCOMPARE(s.text(4, 2), QStringLiteral("1,234,568"));
        s.clearCell(4, 2);
        QVERIFY(s.isEmpty(4, 2));
        s.setMaxRows(2);
        QVERIFY(s.isEmpty(4, 2) && s.maxRows() == 2);

        // A row written in one call, as a streaming fill writes: a Keep cell stays as it was,
        // rows written out of order or left out read as written or empty, an unknown text id
        // writes an empty cell, cells past the last column are dropped.
        Sheet w;
        w.setMaxCols(3);
        w.setMaxRows(3);
        w.setText(1, 2, "B001");
        using C = Sheet::RowCell;
        const C cells[] = {
            {C::Text, w.internText(u"大厅01"), 0}, {}, {C::Number, 0, 12.5}, {C::Number, 0, 1}};
        w.setRowCells(1, cells, 4);
        w.setRowCells(3, cells, 3);
        const C unknown[] = {{C::Text, 999, 0}, {C::Number, 0, -0.25}};
        w.setRowCells(2, unknown, 2);
        QCOMPARE(w.text(1, 1), QStringLiteral("大厅01"));
        QCOMPARE(w.text(1, 2), QStringLiteral("B001"));
        QCOMPARE(w.number(1, 3), 12.5);
        QCOMPARE(w.text(3, 1), QStringLiteral("大厅01"));
        QCOMPARE(w.number(2, 2), -0.25);
        QVERIFY(w.isEmpty(2, 1) && w.isEmpty(2, 3) && w.isEmpty(3, 2) && w.maxCols() == 3);
    }

    // A million-row, twenty-column fill stays well under 32 bytes a cell.
    void memoryPerCell()
    {
        Sheet s;
        const int rows = 200000, cols = 20;
        s.setMaxCols(cols);
        s.setReDraw(false);
        s.setMaxRows(rows);
        for (int r = 1; r <= rows; ++r)
            for (int c = 1; c <= cols; ++c) {
                if (c % 3 == 0)
                    s.setText(r, c,
                              c == 3 ? QStringLiteral("B%1").arg(r, 10, 10, QLatin1Char('0'))
                                     : QStringLiteral("收银员%1").arg(r % 20));
                else
                    s.setNumber(r, c, r * 0.25);
            }
        s.squeeze();
        const double perCell = double(s.memoryBytes()) / (double(rows) * cols);
        QVERIFY2(perCell < 12, qPrintable(QString::number(perCell)));
        QCOMPARE(s.text(rows, 3), QStringLiteral("B0000200000"));
        QCOMPARE(s.text(17, 6), QStringLiteral("收银员17"));

        // Copies own their cells; shrinking across a chunk boundary and growing again leaves
        // the kept rows as they were and the new ones empty.
        Sheet copy;
        copy.assign(s);
        s.setMaxRows(8193);
        s.setMaxRows(rows);
        QCOMPARE(s.number(8193, 1), 8193 * 0.25);
        QVERIFY(s.isEmpty(8194, 1) && s.isEmpty(rows, 3));
        s.clear();
        QCOMPARE(copy.text(rows, 3), QStringLiteral("B0000200000"));
        QCOMPARE(copy.number(150000, 20), 150000 * 0.25);
        // A text stored without lookup reads the same as its interned twin.
        const quint32 stored = copy.addText(QStringLiteral("收银员17"));
        QVERIFY(stored != copy.internText(QStringLiteral("收银员17")));
        copy.setTextId(1, 1, stored);
        QCOMPARE(copy.text(1, 1), copy.text(17, 6));
    }

    // Row styles sit between cell and column styles; copies keep formatting and content.
    void stylesAndCopy()
    {
        Sheet s;
        s.setMaxCols(3);
        s.setMaxRows(3);
        CellStyle grey;
        grey.backColor = QColor(0xE0, 0xE0, 0xE0);
        s.setColumnStyle(2, grey);
        CellStyle red;
        red.foreColor = QColor(Qt::red);
        s.applyStyle({2, 1, 2, 3}, red); // the whole row
        CellStyle centred;
        centred.hAlign = Qt::AlignHCenter;
        s.setCellStyle(2, 3, centred);
        QCOMPARE(*s.effectiveStyle(2, 1).foreColor, QColor(Qt::red));
        QCOMPARE(*s.effectiveStyle(2, 2).backColor, QColor(0xE0, 0xE0, 0xE0));
        QCOMPARE(*s.effectiveStyle(2, 3).foreColor, QColor(Qt::red));
        QCOMPARE(*s.effectiveStyle(2, 3).hAlign, Qt::AlignHCenter);
        QCOMPARE(*s.effectiveStyle(1, 1).foreColor, QColor(Qt::black));

        s.setText(1, 1, "x");
        Sheet copy;
        copy.assign(s);
        QCOMPARE(copy.text(1, 1), QStringLiteral("x"));
        QCOMPARE(*copy.effectiveStyle(2, 3).hAlign, Qt::AlignHCenter);
    }

    // The model reports text and style roles; redraw off defers the reset; the view keeps
    // the sheet's selection and active cell and reports double clicks 1-based.
    void modelAndView()
    {
        Sheet s;
        s.setMaxCols(3);
        s.setMaxRows(4);
        s.setColumnType(3, CellType::Number);
        s.setNumber(2, 3, 88.5);
        s.setColumnWidth(1, 1440);
        SheetView view(&s);
        view.resize(400, 200);
        SheetModel* m = view.sheetModel();
        QCOMPARE(m->rowCount(), 4);
        const QModelIndex i = m->index(1, 2);
        QCOMPARE(m->data(i).toString(), QStringLiteral("88.50"));
        QCOMPARE(m->data(i, Qt::TextAlignmentRole).value<Qt::Alignment>() &
                     Qt::AlignHorizontal_Mask,
                 Qt::AlignRight);
        QVERIFY(!(m->flags(i) & Qt::ItemIsEditable)); // report grids are locked
        QCOMPARE(view.columnWidth(0), view.logicalDpiX());

        QSignalSpy resets(m, &QAbstractItemModel::modelReset);
        s.setReDraw(false);
        s.setMaxRows(1000);
        s.setText(900, 1, "late");
        QCOMPARE(m->rowCount(), 4);
        s.setReDraw(true);
        QCOMPARE(resets.count(), 1);
        QCOMPARE(m->rowCount(), 1000);

        s.setSelection({2, 1, 3, 2});
        QVERIFY(view.selectionModel()->isSelected(m->index(2, 1)));
        view.selectionModel()->select(QItemSelection(m->index(4, 0), m->index(6, 2)),
                                      QItemSelectionModel::ClearAndSelect);
        QCOMPARE(s.selection(), (CellBlock{5, 1, 7, 3}));
        view.setCurrentIndex(m->index(9, 1));
        QCOMPARE(s.activeRow(), 10);

        QSignalSpy dbl(&view, &SheetView::cellDoubleClicked);
        emit view.doubleClicked(m->index(2, 1));
        QCOMPARE(dbl.count(), 1);
        QCOMPARE(dbl.first().at(0).toInt(), 3);
        QCOMPARE(dbl.first().at(1).toInt(), 2);

        // Two header rows give a header twice as tall as one.
        const int one = view.groupHeader()->sizeHint().height();
        s.setHeaderRows(2);
        QCOMPARE(view.groupHeader()->sizeHint().height(), 2 * one);
    }
};

QTEST_MAIN(TestSheet)
#include "tst_sheet.moc"
