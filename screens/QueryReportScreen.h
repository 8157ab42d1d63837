#pragma once

#include "screens/ReportScreen.h"

class ctlQuery;

// A report screen whose body is a query control `ctlQuery1`: the toolbar's full screen, save
// and print act on the control, its progress drives the progress bar, and a double click on its
// grid (`mSpread1`) opens the detail of that row.
class QueryReportScreen : public ReportScreen
{
    Q_OBJECT
public:
    QueryReportScreen(const QString& name, const QString& caption, const QString& title,
                      QSize sizeTwips, QWidget* parent = nullptr);

    ctlQuery* queryControl() const { return ctlQuery1; }

public slots:
    // Saves the grid; a printed format carries the report's print header and footer.
    bool exportGrid(const QString& path) override;

protected:
    Sheet* grid() const override;
    void cmdPrint1() override;
    void toggleFullScreen() override;
    void saveGrid() override;

    ctlQuery* ctlQuery1 = nullptr;
    Sheet* mSpread1 = nullptr;
};
