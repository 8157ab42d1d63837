#pragma once

#include <QDialog>
#include <QPointer>

#include <memory>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QPrinter;
class QRadioButton;
class QSpinBox;
class Sheet;

// The print options dialog of a grid: page range, print options, orientation, margins (in
// centimetres, or inches for the traditional-Chinese and English interfaces) and scaling.
// Controls carry their names as objectNames, those of control arrays with their index
// ("optPage_3", "chkOption_5", "cboMargin_0", "optScaling_2", "optOrientation_1").
class frmPrintSpread : public QDialog
{
    Q_OBJECT
public:
    explicit frmPrintSpread(QWidget* parent = nullptr);
    ~frmPrintSpread() override;

    // Shows the dialog for the grid with the grid's current print settings.
    void ShowMe(Sheet* grid, const QString& caption);
    // Takes the grid's settings into the controls (ShowMe does this).
    void load(Sheet* grid, const QString& caption);
    // Writes the controls back into the grid's print settings.
    void apply();
    // Apply, then print to a PDF file instead of the printer.
    bool printToPdf(const QString& path);

    // Twips per margin unit shown: 567 (centimetres) for language codes 0 and 1, 1440 (inches)
    // for 2 and 3.
    static int marginUnit();
    // Prints the grid with its settings: on a printer the user picks (the print dialog also
    // offers printing to a PDF file), or, when no printer is installed, into a PDF file the
    // user names. Headless runs write "<caption>.pdf" in the plug-in's temporary folder.
    static bool printGrid(const Sheet& grid, const QString& caption, QWidget* parent,
                          QPrinter* printer = nullptr);

private:
    QPointer<Sheet> m_grid;
    QString m_caption;
    std::unique_ptr<QPrinter> m_printer; // chosen with "Printer"

    QButtonGroup* m_page;
    QRadioButton* optPage[4];
    QComboBox* cboPage[2];
    QCheckBox* chkOption[9];
    QRadioButton* optOrientation[2];
    QComboBox* cboMargin[4];
    QButtonGroup* m_scaling;
    QRadioButton* optScaling[4];
    QComboBox* cboZoom;
    QComboBox* cboWide;
    QComboBox* cboTall;
    QSpinBox* updWide;
    QSpinBox* updTall;

    void updateEnabled();
    void cmdPrint_Click();
    void cmdPreview_Click();
    void cmdPrinter_Click();
};
