#pragma once

#include "sheet/PrintSettings.h"

#include <QColor>
#include <QFont>
#include <QObject>
#include <QRect>
#include <QString>
#include <QVariant>

#include <memory>
#include <optional>

// What a cell holds and how it is shown. Numbers keep their exact value; percent cells store
// the fraction's percentage figure (12.5 shows as "12.50%").
enum class CellType : quint8
{
    Text = 1,
    Number = 13,
    Percent = 14
};

// How the numbers of a column end: `suffix` after each number (in place of the "%" that a
// percent cell shows, so a percent suffix carries its own), and a number that rounds to zero
// shown as nothing before it. "#,### " is {" ", true}; "0 %" is {" %", false}.
struct NumberFormat
{
    std::optional<QString> suffix;
    bool zeroBlank = false;
    bool operator==(const NumberFormat&) const = default;
};

// How a cell looks. Unset members fall back to the column's, then the sheet's defaults.
struct CellStyle
{
    std::optional<QColor> foreColor;
    std::optional<QColor> backColor;
    std::optional<QFont> font;
    std::optional<Qt::Alignment> hAlign; // Qt::AlignLeft / AlignHCenter / AlignRight
    std::optional<Qt::Alignment> vAlign; // Qt::AlignTop / AlignVCenter / AlignBottom
    std::optional<QColor> borderColor;   // a thin solid line on all four sides of the cell
    bool operator==(const CellStyle&) const = default;
};

// A block of cells, 1-based and inclusive; a span is a block shown as one cell.
struct CellBlock
{
    int row = 1, col = 1, row2 = 1, col2 = 1;
    int rowCount() const { return row2 - row + 1; }
    int colCount() const { return col2 - col + 1; }
    bool contains(int r, int c) const { return r >= row && r <= row2 && c >= col && c <= col2; }
    bool operator==(const CellBlock&) const = default;
};

// The grid every screen shows, prints and exports: 1-based rows and columns of data under up to
// a few column-header rows. Changes are announced through signals unless redraw is suspended,
// in which case one reset is announced when it is switched back on.
//
// Storage: column-wise, 8 bytes a cell (a number, a text id or empty, packed in one 64-bit
// slot); texts live once in a UTF-16 arena shared by the whole sheet; per-cell styles and
// types are kept in per-column side arrays created only for columns that use them, and
// whole-row styles (totals rows, highlighted rows) in a sparse row table.
class Sheet : public QObject
{
    Q_OBJECT
public:
    explicit Sheet(QObject* parent = nullptr);
    ~Sheet() override;

    // Removes every row, column, span, header and style, keeping the print settings.
    void clear();

    // -- size -------------------------------------------------------------------------------
    int maxRows() const;
    int maxCols() const;
    void setMaxRows(int rows); // rows past the new count are dropped
    void setMaxCols(int cols);
    void appendRows(int count); // cheaper than setMaxRows for streaming fills
    // Streaming fills: room for this many rows in every column (squeeze() gives back the rest).
    void reserveRows(int rows);

    // -- content ----------------------------------------------------------------------------
    // The text as the grid shows it: numbers formatted by their cell type and decimals.
    QString text(int row, int col) const;
    // Sets the cell's text; a number or percent cell parses it as its value.
    void setText(int row, int col, const QString& text);
    // The exact value: a double for number and percent cells, the text otherwise;
    // an empty cell gives an invalid QVariant.
    QVariant value(int row, int col) const;
    void setValue(int row, int col, const QVariant& value);
    void setNumber(int row, int col, double value);
    // True when the cell holds a number; number() is that number, or 0 for any other cell.
    bool isNumber(int row, int col) const;
    double number(int row, int col) const;
    bool isEmpty(int row, int col) const;
    // Streaming fills: a text's id in the sheet's shared text store (0 for the empty text),
    // and writing a cell by that id (shown as text whatever the cell's type). addText stores a
    // text without looking for an equal one (texts that hardly repeat, such as bill numbers):
    // the same text may then have several ids.
    quint32 internText(QStringView text);
    quint32 addText(QStringView text);
    void setTextId(int row, int col, quint32 id);
    // Streaming fills: a row's cells in one call, cells[i] into column i + 1 (up to maxCols());
    // a cell left at Keep stays as it is.
    struct RowCell
    {
        enum Kind : quint8
        {
            Keep,
            Number,
            Text // by id (internText, addText)
        };
        Kind kind = Keep;
        quint32 textId = 0;
        double number = 0;
    };
    void setRowCells(int row, const RowCell* cells, int count);
    void clearCell(int row, int col);

    CellType cellType(int row, int col) const;
    void setCellType(int row, int col, CellType type);
    void setColumnType(int col, CellType type); // default for the column's cells
    CellType columnType(int col) const;
    // Decimal places shown for number and percent cells (default 2) and thousands separators.
    void setColumnDecimals(int col, int decimals);
    int columnDecimals(int col) const;
    // A cell's own decimal places (-1: the column's again), and those it shows.
    void setCellDecimals(int row, int col, int decimals);
    int cellDecimals(int row, int col) const;
    bool hasOwnDecimals(int row, int col) const;
    void setColumnNumberFormat(int col, const NumberFormat& format);
    NumberFormat columnNumberFormat(int col) const;
    void setThousandsSeparator(bool on);
    bool thousandsSeparator() const;

    // -- appearance ---------------------------------------------------------------------------
    CellStyle cellStyle(int row, int col) const;      // the cell's own style (without fall-backs)
    CellStyle effectiveStyle(int row, int col) const; // with column and sheet defaults
    void setCellStyle(int row, int col, const CellStyle& style);
    // Applies the set members of `style` to every cell of the block (1-based, inclusive).
    void applyStyle(const CellBlock& block, const CellStyle& style);
    void setColumnStyle(int col, const CellStyle& style);
    CellStyle columnStyle(int col) const;
    // A whole row's style: sits between the cells' own styles and the column styles. applyStyle
    // on a block covering every column stores its members here.
    void setRowStyle(int row, const CellStyle& style);
    CellStyle rowStyle(int row) const;
    QFont defaultFont() const;
    void setDefaultFont(const QFont& font);

    // Sizes in twips (1440 per inch); -1 means the default size.
    int columnWidth(int col) const;
    void setColumnWidth(int col, int twips);
    int rowHeight(int row) const;
    void setRowHeight(int row, int twips);
    // Rows that have a height of their own (ascending), for views that size rows sparsely.
    QList<int> rowsWithOwnHeight() const;
    static constexpr int DefaultColumnWidth = 1200;
    static constexpr int DefaultRowHeight = 300;
    void setColumnHidden(int col, bool hidden);
    bool isColumnHidden(int col) const;

    // -- spans ------------------------------------------------------------------------------
    void addSpan(const CellBlock& block);
    void removeSpansIn(const CellBlock& block);
    const QList<CellBlock>& spans() const;
    // The span that covers the cell, if any.
    std::optional<CellBlock> spanAt(int row, int col) const;

    // -- column headers ---------------------------------------------------------------------
    // Header rows above the data (1 or 2 for group headers over sub-columns; 0 hides them).
    int headerRows() const;
    void setHeaderRows(int rows);
    QString headerText(int headerRow, int col) const;
    void setHeaderText(int headerRow, int col, const QString& text);
    // Spans within the header rows (rows counted 1..headerRows()).
    void addHeaderSpan(const CellBlock& block);
    const QList<CellBlock>& headerSpans() const;
    bool rowHeadersVisible() const;
    void setRowHeadersVisible(bool visible);

    // -- grid state the screens set -----------------------------------------------------------
    bool reDraw() const;
    void setReDraw(bool on);
    // While redraw is off, a streaming fill shows its first `rows` rows, each complete, as rows
    // added below those shown (views scroll on undisturbed); the rest waits for redraw.
    void showRows(int rows);
    bool gridLines() const;
    void setGridLines(bool on);
    bool locked() const; // read-only for the user (every report grid is)
    void setLocked(bool on);
    Qt::ScrollBarPolicy horizontalScrollBar() const;
    Qt::ScrollBarPolicy verticalScrollBar() const;
    void setScrollBars(Qt::ScrollBarPolicy horizontal, Qt::ScrollBarPolicy vertical);
    // The selection block; row 0 / col 0 when nothing is selected.
    CellBlock selection() const;
    void setSelection(const CellBlock& block);
    // The active cell (the grid's current row and column); 0 when there is none.
    int activeRow() const;
    int activeCol() const;
    void setActiveCell(int row, int col);
    // Data rows fixed under the header (frozen while scrolling).
    int frozenRows() const;
    void setFrozenRows(int rows);

    PrintSettings& printSettings();
    const PrintSettings& printSettings() const;

    // Memory held by the cell storage, for the benchmarks.
    qint64 memoryBytes() const;
    // Gives back the spare capacity left by a streaming fill.
    void squeeze();
    // Makes this sheet a copy of `other` (content, formatting, headers and print settings).
    void assign(const Sheet& other);

signals:
    // The rows, columns, headers or spans changed (or redraw was switched back on).
    void structureChanged();
    // Cells of the block changed.
    void cellsChanged(const CellBlock& block);
    // The first `rows` rows may be shown (showRows).
    void rowsShown(int rows);
    // setSelection / setActiveCell were called.
    void selectionChanged(const CellBlock& block);
    void activeCellChanged(int row, int col);

private:
    struct Private;
    std::unique_ptr<Private> d;
    void announce(const CellBlock& block);
};
