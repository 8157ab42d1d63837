#pragma once

#include <QPointer>
#include <QWidget>

class QComboBox;
class QLabel;
class QPushButton;
class QStatusBar;
class Sheet;
class SheetPreview;

// The print preview of a grid with its current print settings: previous / next page, the zoom
// list (percentages, page width, page height, whole page, two to six pages at once), zoom in
// and out, print, set-up (the print options dialog) and close; the status bar shows
// "Page x of y" in the active language. It takes the keyboard when shown; Esc closes it.
class frmPreview : public QWidget
{
    Q_OBJECT
public:
    explicit frmPreview(QWidget* parent = nullptr);

    void ShowMe(Sheet* grid, const QString& caption);
    // Attaches the preview to the grid without showing the window (ShowMe does this).
    void load(Sheet* grid, const QString& caption);

    SheetPreview* preview() const { return sprPreview; }
    // Picks entry `index` of the zoom list.
    void setZoomIndex(int index);
    // The status text of panel 1.
    QString statusText() const;

protected:
    void keyPressEvent(QKeyEvent* event) override; // Esc closes the preview

private:
    QPointer<Sheet> m_grid;
    QString m_caption;
    SheetPreview* sprPreview;
    QComboBox* cboZoom;
    QPushButton* cmdPrev;
    QPushButton* cmdNext;
    QPushButton* cmdZoom;
    QPushButton* cmdPrint;
    QPushButton* cmdSetup;
    QPushButton* cmdClose;
    QStatusBar* staBar;
    QLabel* m_panel1;

    void updateControls();
    void cboZoom_Click(int index);
    void cmdPrev_Click();
    void cmdNext_Click();
    void cmdSetup_Click();
};
