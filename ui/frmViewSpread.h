#pragma once

#include <QMainWindow>

#include <memory>

class QToolBar;
class Sheet;
class SheetView;

// The full-screen grid window: a copy of a grid (made through "temp.Spread" in the plug-in's
// temporary folder) in its own grid `sprData`, with the toolbar keys "Open" (a saved report
// file), "Save" (export: Excel, HTML, report file, text, XML), "Print" and "Exit".
class frmViewSpread : public QMainWindow
{
    Q_OBJECT
public:
    explicit frmViewSpread(QWidget* parent = nullptr);
    ~frmViewSpread() override;

    void ShowSpread(Sheet* grid, const QString& caption);

    // "Open" and "Save" without their dialogs. exportTo's filter is 1 xls, 2 htm, 3 rpt,
    // 4 txt, 5 xml, or 0 to go by the file's extension; a missing extension is added.
    bool openFile(const QString& path);
    bool exportTo(const QString& path, int filter = 0);

    // The same export for any grid, and the "Save" dialog for any grid (also used by the query
    // control's SaveGrid); false when cancelled or not written (the dialog then says why).
    static bool exportSheet(const Sheet& sheet, const QString& path, int filter,
                            const QString& caption, QString* error = nullptr);
    static bool saveWithDialog(const Sheet& sheet, const QString& caption, QWidget* parent);

    Sheet* sheet() const { return m_sheet.get(); }
    SheetView* view() const { return sprData; }
    QString caption() const { return m_caption; }
    // The save dialog's filters in their order, in Qt's form ("Excel文件 (*.xls)", ...).
    static QStringList saveFilters();
    // "text (patterns)" in Qt's filter form from a filter caption and its patterns
    // ("网页文件 (*.htm; *.html)", "*.htm; *.html" → "网页文件 (*.htm *.html)").
    static QString qtFilter(const QString& caption, const QString& patterns);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    std::unique_ptr<Sheet> m_sheet;
    SheetView* sprData;
    QToolBar* tlbMain;
    QString m_caption;

    void tlbMain_ButtonClick(const QString& key);
    void open();
    void save();
};
