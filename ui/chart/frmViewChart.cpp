#include "ui/chart/frmViewChart.h"

#include "core/LanguageSection.h"
#include "core/modMessage.h"
#include "core/modPublic.h"
#include "framework/HostUi.h"
#include "ui/chart/ChartOutput.h"

#include <QAction>
#include <QActionGroup>
#include <QFile>
#include <QFileDialog>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <QToolBar>
#include <QToolButton>

namespace {

// The window's own texts; the toolbar keys and the chart types are messages of the table.
const LanguageSection& texts()
{
    static const LanguageSection kTexts("frmViewChart",
                                        {
                                            {"tlbMain", "Caption", "工具栏"},
                                            {"ChartType", "Caption", "图表类型"},
                                            {"Msg_Filter_PNG", "Default", "PNG图片 (*.png)"},
                                            {"Msg_Filter_SVG", "Default", "SVG图片 (*.svg)"},
                                            {"Msg_Filter_PDF", "Default", "PDF文件 (*.pdf)"},
                                        });
    return kTexts;
}

QString filter(const QString& text, const char* patterns)
{
    QString caption = text.trimmed();
    const qsizetype open = caption.lastIndexOf(QLatin1Char('('));
    if (caption.endsWith(QLatin1Char(')')) && open > 0)
        caption = caption.left(open).trimmed();
    return QStringLiteral("%1 (%2)").arg(caption, QLatin1String(patterns));
}

QString chartFilter()
{
    return filter(MsgText(QStringLiteral("Msg_Filter_CHT"), QStringLiteral("图表文件 (*.cht)")),
                  "*.cht");
}

QString allFilter()
{
    return filter(MsgText(QStringLiteral("Msg_Filter_ALL"), QStringLiteral("所有文件 (*.*)")), "*");
}

} // namespace

frmViewChart::frmViewChart(QWidget* parent) : QMainWindow(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frmViewChart"));
    tlbMain = addToolBar(texts().text(QStringLiteral("tlbMain")));
    tlbMain->setObjectName(QStringLiteral("tlbMain"));
    tlbMain->setMovable(false);
    tlbMain->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    m_modes = new QActionGroup(this);
    m_modes->setExclusive(true);
    for (const char* key :
         {"Refresh", "Move", "Scale", "Zoom", "Rotate", "Open", "Save", "Print", "Exit"}) {
        const QString k = QString::fromLatin1(key);
        QAction* action = tlbMain->addAction(k);
        action->setObjectName(k);
        if (!mouseMappings(k).isEmpty()) {
            action->setCheckable(true);
            m_modes->addAction(action);
        }
        connect(action, &QAction::triggered, this, [this, k] { tlbMain_ButtonClick(k); });
    }
    auto* types = new QAction(texts().text(QStringLiteral("ChartType")), tlbMain);
    types->setObjectName(QStringLiteral("ChartType"));
    auto* menu = new QMenu(this);
    for (const ChartType::Entry& e : ChartType::Entries) {
        QAction* entry = menu->addAction(QString::fromUtf8(e.caption));
        entry->setObjectName(QString::fromLatin1(e.key));
        const QString key = entry->objectName();
        connect(entry, &QAction::triggered, this, [this, key] { tlbMain_ButtonClick(key); });
    }
    types->setMenu(menu);
    tlbMain->addAction(types);
    if (auto* button = qobject_cast<QToolButton*>(tlbMain->widgetForAction(types)))
        button->setPopupMode(QToolButton::InstantPopup);
    TranslateToolbar(tlbMain); // the keys' and the chart types' captions from the messages

    Chart2D1 = new Chart2D(this);
    Chart2D1->setObjectName(QStringLiteral("Chart2D1"));
    setCentralWidget(Chart2D1);
    updateRotateKey();
}

frmViewChart::~frmViewChart() = default;

QList<ChartActionMap> frmViewChart::mouseMappings(const QString& mode)
{
    using namespace ChartMessage;
    using namespace ChartAction;
    auto modify = [](int action) -> QList<ChartActionMap> {
        return {{LeftButtonDown, 0, 0, StartModify},
                {MouseMove, 1, 0, action},
                {LeftButtonUp, 0, 0, EndModify}};
    };
    if (mode == QLatin1String("Move"))
        return modify(Translate);
    if (mode == QLatin1String("Scale"))
        return modify(Scale);
    if (mode == QLatin1String("Rotate"))
        return modify(Rotate);
    if (mode == QLatin1String("Zoom"))
        return {{LeftButtonDown, 0, 0, StartZoom},
                {MouseMove, 1, 0, UpdateZoom},
                {LeftButtonUp, 0, 0, EndZoom}};
    return {};
}

void frmViewChart::ShowChart2D(Chart2D* chart, const QString& caption)
{
    m_caption = caption;
    setWindowTitle(caption);
    if (chart) {
        const QString temp = UserTempDirectory() + QStringLiteral("/temp.Chart2D");
        if (chart->save(temp)) {
            QFile::setPermissions(temp, QFile::ReadOwner | QFile::WriteOwner);
            Chart2D1->load(temp);
        }
    }
    updateRotateKey();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        resize(screen->availableGeometry().size());
    if (!isVisible())
        show();
}

void frmViewChart::setMouseMode(const QString& mode)
{
    m_mode = mode;
    Chart2D1->setActionMaps(mouseMappings(mode));
    for (QAction* a : m_modes->actions())
        a->setChecked(a->objectName() == mode);
}

void frmViewChart::updateRotateKey()
{
    const bool rotates = ChartType::rotates(Chart2D1->chartType());
    if (QAction* rotate = tlbMain->findChild<QAction*>(QStringLiteral("Rotate")))
        rotate->setEnabled(rotates);
    if (!rotates && m_mode == QLatin1String("Rotate"))
        setMouseMode(QString());
}

void frmViewChart::tlbMain_ButtonClick(const QString& key)
{
    if (const ChartType::Entry* type = ChartType::byKey(key)) {
        Chart2D1->setChartType(type->code);
        updateRotateKey();
    } else if (key == QLatin1String("Refresh")) {
        Chart2D1->callAction(ChartAction::Reset, QPoint(0, 0));
    } else if (!mouseMappings(key).isEmpty()) {
        if (key != QLatin1String("Rotate") || ChartType::rotates(Chart2D1->chartType()))
            setMouseMode(key);
    } else if (key == QLatin1String("Open")) {
        open();
    } else if (key == QLatin1String("Save")) {
        save();
    } else if (key == QLatin1String("Print")) {
        print();
    } else if (key == QLatin1String("Exit")) {
        close();
    }
}

bool frmViewChart::openFile(const QString& path, QString* error)
{
    Chart2D1->setIsBatched(true);
    const bool ok = Chart2D1->load(path, error);
    Chart2D1->setActionMaps(mouseMappings(m_mode));
    Chart2D1->setIsBatched(false);
    updateRotateKey();
    return ok;
}

bool frmViewChart::saveFile(const QString& path, QString* error) const
{
    return Chart2D1->save(path, error);
}

bool frmViewChart::printTo(QPrinter* printer) const
{
    return Chart2D1->print(printer);
}

void frmViewChart::open()
{
    if (HostUi::isHeadless())
        return;
    const QString path =
        QFileDialog::getOpenFileName(this, QString(), QStringLiteral("*.cht"),
                                     chartFilter() + QStringLiteral(";;") + allFilter());
    QString error;
    if (!path.isEmpty() && !openFile(path, &error))
        MsgBox(error, QMessageBox::Warning, QMessageBox::Ok, this);
}

void frmViewChart::save()
{
    const QString path = chooseSavePath(this, m_caption, false);
    QString error;
    if (!path.isEmpty() && !saveFile(path, &error))
        MsgBox(error, QMessageBox::Warning, QMessageBox::Ok, this);
}

QString frmViewChart::chooseSavePath(QWidget* parent, const QString& caption, bool withData)
{
    if (HostUi::isHeadless())
        return QString();
    QStringList filters = {
        chartFilter(),
        filter(texts().text(QStringLiteral("Msg_Filter_PNG"), QStringLiteral("Default")), "*.png"),
        filter(texts().text(QStringLiteral("Msg_Filter_SVG"), QStringLiteral("Default")), "*.svg"),
        filter(texts().text(QStringLiteral("Msg_Filter_PDF"), QStringLiteral("Default")), "*.pdf"),
    };
    QStringList extensions = {".cht", ".png", ".svg", ".pdf"};
    if (withData) {
        filters << filter(MsgText(QStringLiteral("Msg_Filter_XLS"),
                                  QStringLiteral("Excel文件 (*.xls)")),
                          "*.xlsx")
                << filter(MsgText(QStringLiteral("Msg_Filter_TXT"),
                                  QStringLiteral("文本文件 (*.txt)")),
                          "*.txt");
        extensions << ".xlsx"
                   << ".txt";
    }
    QString selected = filters.first();
    QString path = QFileDialog::getSaveFileName(parent, QString(), caption,
                                                filters.join(QStringLiteral(";;")), &selected);
    if (path.isEmpty())
        return path;
    const QString wanted = extensions.value(std::max<qsizetype>(0, filters.indexOf(selected)));
    if (!path.endsWith(wanted, Qt::CaseInsensitive) && !ChartOutput::isSupported(path))
        path += wanted;
    return path;
}

void frmViewChart::printWithDialog(const Chart2D* chart, QWidget* parent)
{
    if (HostUi::isHeadless())
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    QPrintDialog dialog(&printer, parent);
    if (dialog.exec() == QDialog::Accepted)
        chart->print(&printer);
}

void frmViewChart::print()
{
    printWithDialog(Chart2D1, this);
}

void frmViewChart::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape)
        close();
    else
        QMainWindow::keyPressEvent(event);
}
