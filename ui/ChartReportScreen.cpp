#include "ui/ChartReportScreen.h"

#include "core/modMessage.h"
#include "framework/HostUi.h"
#include "sheet/Sheet.h"
#include "ui/chart/Chart2D.h"
#include "ui/chart/ChartOutput.h"
#include "ui/chart/frmViewChart.h"

#include <QAction>
#include <QFileDialog>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>

ChartReportScreen::ChartReportScreen(const ScreenSpec& spec, QWidget* parent)
    : ReportScreen(spec, parent), m_points(std::make_unique<Sheet>())
{
    Chart2D1 = new Chart2D(this);
    Chart2D1->setObjectName(QStringLiteral("Chart2D1"));
    setBody(Chart2D1);

    // "Charting" after "FullScreen", its drop-down menu the chart types.
    QAction* charting = addToolbarKey(QStringLiteral("Charting"), QStringLiteral("图表"));
    tlbMain->removeAction(charting);
    QAction* open = tlbMain->findChild<QAction*>(QStringLiteral("Open"));
    tlbMain->insertAction(open, charting);
    auto* menu = new QMenu(this);
    for (const ChartType::Entry& e : ChartType::Entries) {
        QAction* entry = menu->addAction(QString::fromUtf8(e.caption));
        entry->setObjectName(QString::fromLatin1(e.key));
        const int code = e.code;
        connect(entry, &QAction::triggered, this, [this, code] { Chart2D1->setChartType(code); });
    }
    charting->setMenu(menu);
    if (auto* button = qobject_cast<QToolButton*>(tlbMain->widgetForAction(charting)))
        button->setPopupMode(QToolButton::MenuButtonPopup);
    // A double-clicked point drills down (drillToPoint).
    connect(Chart2D1, &Chart2D::pointDoubleClicked, this, [this](int series, int point) {
        try {
            runWithScreenDisabled([&] {
                if (!drillToPoint(series, point))
                    setStatusText(lastError());
            });
        } catch (const std::exception&) {
        }
    });
}

ChartReportScreen::~ChartReportScreen() = default;

bool ChartReportScreen::exportGrid(const QString& path)
{
    if (!ChartOutput::isSupported(path))
        return ReportScreen::exportGrid(path);
    QString error;
    const bool ok = Chart2D1->save(path, &error);
    setLastError(error);
    return ok;
}

void ChartReportScreen::cmdPrint1()
{
    frmViewChart::printWithDialog(Chart2D1, this);
}

void ChartReportScreen::toggleFullScreen()
{
    auto* viewer = new frmViewChart(this);
    viewer->setAttribute(Qt::WA_DeleteOnClose);
    viewer->ShowChart2D(Chart2D1, windowTitle());
}

void ChartReportScreen::toolbarAction(const QString& key)
{
    if (key == QLatin1String("Charting"))
        toggleFullScreen();
}

void ChartReportScreen::saveGrid()
{
    const QString path = frmViewChart::chooseSavePath(this, windowTitle(), true);
    if (!path.isEmpty() && !exportGrid(path))
        MsgBox(lastError(), QMessageBox::Warning, QMessageBox::Ok, this);
}

void ChartReportScreen::cmdOpen()
{
    if (HostUi::isHeadless())
        return;
    const QString path = QFileDialog::getOpenFileName(
        this, QString(), QStringLiteral("*.cht"),
        MsgText(QStringLiteral("Msg_Filter_CHT"), QStringLiteral("图表文件 (*.cht)")));
    QString error;
    if (!path.isEmpty() && !Chart2D1->load(path, &error))
        MsgBox(error, QMessageBox::Warning, QMessageBox::Ok, this);
}
