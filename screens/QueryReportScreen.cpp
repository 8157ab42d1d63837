#include "screens/QueryReportScreen.h"

#include "screens/ctlQuery.h"
#include "screens/sheet/Sheet.h"

QueryReportScreen::QueryReportScreen(const QString& name, const QString& caption,
                                     const QString& title, QSize sizeTwips, QWidget* parent)
    : ReportScreen(name, caption, title, sizeTwips, parent)
{
    ctlQuery1 = new ctlQuery(this);
    ctlQuery1->setObjectName(QStringLiteral("ctlQuery1"));
    mSpread1 = ctlQuery1->Grid();
    setBody(ctlQuery1);
    connect(ctlQuery1, &ctlQuery::Progress, this, &QueryReportScreen::setProgress);
    connect(ctlQuery1, &ctlQuery::GridDblClick, this, [this] {
        try {
            runWithScreenDisabled([this] { cmdOpen(); });
        } catch (const std::exception&) {
        }
    });
}

Sheet* QueryReportScreen::grid() const
{
    return mSpread1;
}

void QueryReportScreen::cmdPrint1()
{
    ctlQuery1->PrintGrid(PrintHeader(ctlQuery1->Title(), beginDate(), endDate()), PrintFooter());
}

bool QueryReportScreen::exportGrid(const QString& path)
{
    mSpread1->printSettings().header = PrintHeader(ctlQuery1->Title(), beginDate(), endDate());
    mSpread1->printSettings().footer = PrintFooter();
    return ReportScreen::exportGrid(path);
}

void QueryReportScreen::toggleFullScreen()
{
    ctlQuery1->ToggleFullScreen();
}
void QueryReportScreen::saveGrid()
{
    ctlQuery1->SaveGrid(QString(), 0);
}
