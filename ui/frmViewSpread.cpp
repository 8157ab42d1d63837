#include "ui/frmViewSpread.h"

#include "core/LanguageSection.h"
#include "core/modMessage.h"
#include "core/modPublic.h"
#include "framework/HostUi.h"
#include "sheet/Sheet.h"
#include "sheet/SheetExporter.h"
#include "sheet/SheetFile.h"
#include "sheet/SheetView.h"
#include "ui/frmPrintSpread.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QScreen>
#include <QToolBar>

namespace {

const char* const Patterns[5] = {"*.xls", "*.htm; *.html", "*.rpt", "*.txt", "*.xml"};
const char* const Extensions[5] = {"xlsx", "htm", "rpt", "txt", "xml"};

// The window's own texts (the toolbar's buttons and the file filters are messages of the
// message table): the Chinese built in, the language file's in other languages.
const LanguageSection& texts()
{
    static const LanguageSection kTexts("frmViewSpread", {
                                                             {"tlbMain", "Caption", "工具栏"},
                                                         });
    return kTexts;
}

} // namespace

// The five file filters, from the message table, in the order of the save dialog.
static QStringList filterTexts()
{
    return {MsgText(QStringLiteral("Msg_Filter_XLS"), QStringLiteral("Excel文件 (*.xls)")),
            MsgText(QStringLiteral("Msg_Filter_HTM"), QStringLiteral("网页文件 (*.htm; *.html)")),
            MsgText(QStringLiteral("Msg_Filter_RPT"), QStringLiteral("报表文件 (*.rpt)")),
            MsgText(QStringLiteral("Msg_Filter_TXT"), QStringLiteral("文本文件 (*.txt)")),
            MsgText(QStringLiteral("Msg_Filter_XML"), QStringLiteral("XML文件 (*.xml)"))};
}

frmViewSpread::frmViewSpread(QWidget* parent)
    : QMainWindow(parent, Qt::Window), m_sheet(std::make_unique<Sheet>())
{
    setObjectName(QStringLiteral("frmViewSpread"));

    tlbMain = addToolBar(texts().text(QStringLiteral("tlbMain")));
    tlbMain->setObjectName(QStringLiteral("tlbMain"));
    tlbMain->setMovable(false);
    for (const char* key : {"Open", "Save", "Print", "Exit"}) {
        const QString k = QString::fromLatin1(key);
        QString text = Msg(QStringLiteral("Msg_Button_") + k);
        QAction* action = tlbMain->addAction(text.isEmpty() ? k : text);
        action->setObjectName(k);
        connect(action, &QAction::triggered, this, [this, k] { tlbMain_ButtonClick(k); });
    }
    sprData = new SheetView(m_sheet.get());
    sprData->setObjectName(QStringLiteral("sprData"));
    setCentralWidget(sprData);
}

frmViewSpread::~frmViewSpread() = default;

void frmViewSpread::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape)
        close(); // leaves the full-screen grid
    else
        QMainWindow::keyPressEvent(event);
}

QString frmViewSpread::qtFilter(const QString& caption, const QString& patterns)
{
    QString text = caption.trimmed();
    if (text.endsWith(QLatin1Char(')'))) {
        const qsizetype open = text.lastIndexOf(QLatin1Char('('));
        if (open > 0)
            text = text.left(open).trimmed();
    }
    QString list = patterns;
    list.replace(QLatin1Char(';'), QLatin1Char(' '));
    return QStringLiteral("%1 (%2)").arg(text, list.simplified());
}

QStringList frmViewSpread::saveFilters()
{
    const QStringList texts = filterTexts();
    QStringList filters;
    for (int i = 0; i < 5; ++i)
        filters << qtFilter(texts.at(i), QString::fromLatin1(Patterns[i]));
    return filters;
}

void frmViewSpread::ShowSpread(Sheet* grid, const QString& caption)
{
    m_caption = caption;
    setWindowTitle(caption);
    if (grid) {
        const QString temp = UserTempDirectory() + QStringLiteral("/temp.Spread");
        if (SheetFile::save(*grid, temp)) {
            QFile::setPermissions(temp, QFile::ReadOwner | QFile::WriteOwner);
            SheetFile::load(*m_sheet, temp);
        }
    }
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        resize(screen->availableGeometry().size());
    sprData->setVisible(true);
    if (!isVisible())
        show();
    // The viewer takes the keyboard: Esc and the other keys act on it, not on the screen
    // underneath (a window shown without a window manager is not activated by itself).
    raise();
    activateWindow();
    sprData->setFocus(Qt::ActiveWindowFocusReason);
}

bool frmViewSpread::openFile(const QString& path)
{
    if (path.isEmpty() || !QFileInfo::exists(path))
        return false;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    sprData->setVisible(false);
    m_sheet->setReDraw(false);
    const bool ok = SheetFile::load(*m_sheet, path);
    m_sheet->setReDraw(true);
    sprData->setVisible(true);
    QApplication::restoreOverrideCursor();
    return ok;
}

bool frmViewSpread::exportTo(const QString& path, int filter)
{
    return exportSheet(*m_sheet, path, filter, m_caption);
}

bool frmViewSpread::exportSheet(const Sheet& sheet, const QString& path, int filter,
                                const QString& caption, QString* error)
{
    if (path.isEmpty())
        return false;
    QString target = path;
    QString ext = QFileInfo(path).suffix().toLower();
    if (filter >= 1 && filter <= 5) {
        const QStringList known = QString::fromLatin1(Patterns[filter - 1])
                                      .remove(QStringLiteral("*."))
                                      .split(QStringLiteral("; "));
        if (!known.contains(ext) && !(filter == 1 && ext == QLatin1String("xlsx")))
            target += QLatin1Char('.') + QString::fromLatin1(Extensions[filter - 1]);
    }
    if (QFileInfo(target).suffix().compare(QLatin1String("xls"), Qt::CaseInsensitive) == 0)
        target += QLatin1Char('x'); // workbooks are written in the .xlsx format
    const std::unique_ptr<SheetExporter> exporter = SheetExporter::forFile(target);
    if (!exporter)
        return false;
    SheetExportOptions options;
    options.caption = caption; // the workbook's sheet: the caption, or "Sheet1"
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool ok = exporter->write(sheet, target, options, error);
    QApplication::restoreOverrideCursor();
    return ok;
}

void frmViewSpread::open()
{
    if (HostUi::isHeadless())
        return;
    const QString path = QFileDialog::getOpenFileName(
        this, QString(), QString(), qtFilter(filterTexts().at(2), QStringLiteral("*.rpt")));
    openFile(path);
}

void frmViewSpread::save()
{
    saveWithDialog(*m_sheet, m_caption, this);
}

bool frmViewSpread::saveWithDialog(const Sheet& sheet, const QString& caption, QWidget* parent)
{
    if (HostUi::isHeadless())
        return false;
    const QStringList filters = saveFilters();
    QString selected = filters.first();
    const QString path = QFileDialog::getSaveFileName(
        parent, QString(), caption, filters.join(QStringLiteral(";;")), &selected);
    if (path.isEmpty())
        return false;
    QString error;
    if (exportSheet(sheet, path, int(filters.indexOf(selected)) + 1, caption, &error))
        return true;
    MsgBox(error, QMessageBox::Warning, QMessageBox::Ok, parent); // the file is as it was
    return false;
}

void frmViewSpread::tlbMain_ButtonClick(const QString& key)
{
    if (key == QLatin1String("Open")) {
        open();
    } else if (key == QLatin1String("Save")) {
        save();
    } else if (key == QLatin1String("Print")) {
        auto* dialog = new frmPrintSpread(this);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        dialog->ShowMe(m_sheet.get(), m_caption);
    } else if (key == QLatin1String("Exit")) {
        close();
    }
}
