#include "ui/frmPrintSpread.h"

#include "core/HostContext.h"
#include "core/LanguageSection.h"
#include "core/modPublic.h"
#include "framework/HostUi.h"
#include "sheet/Sheet.h"
#include "sheet/SheetPrinter.h"
#include "ui/frmPreview.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStyle>
#include <QStyleOptionSpinBox>
#include <QVBoxLayout>

namespace {

bool isNumeric(const QString& text)
{
    bool ok = false;
    text.trimmed().toDouble(&ok);
    return ok;
}

QComboBox* editableCombo(const QString& name, const QStringList& items = {})
{
    auto* box = new QComboBox;
    box->setObjectName(name);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->addItems(items);
    return box;
}

// The window's texts: the Chinese built in, the language file's in other languages. The
// margins are in centimetres in Simplified Chinese, in inches otherwise (marginUnit).
const LanguageSection& texts()
{
    static const LanguageSection kTexts("frmPrintSpread",
                                        {
                                            {"frmPrintSpread", "Caption", "打印"},
                                            {"fraPage", "Caption", " 页面范围 "},
                                            {"optPage_0", "Caption", "全部"},
                                            {"optPage_1", "Caption", "选定单元格"},
                                            {"optPage_2", "Caption", "当前页"},
                                            {"optPage_3", "Caption", "页码:"},
                                            {"lblPageTo", "Caption", "到"},
                                            {"fraOption", "Caption", " 打印选项 "},
                                            {"chkOption_0", "Caption", "列标题"},
                                            {"chkOption_1", "Caption", "行标题"},
                                            {"chkOption_2", "Caption", "网格线"},
                                            {"chkOption_3", "Caption", "边框"},
                                            {"chkOption_4", "Caption", "仅数据单元格"},
                                            {"chkOption_5", "Caption", "彩色"},
                                            {"chkOption_6", "Caption", "阴影"},
                                            {"chkOption_7", "Caption", "水平居中"},
                                            {"chkOption_8", "Caption", "垂直居中"},
                                            {"fraOrientation", "Caption", " 打印方向 "},
                                            {"optOrientation_0", "Caption", "纵向"},
                                            {"optOrientation_1", "Caption", "横向"},
                                            {"fraMargin", "Caption", " 页边距 (厘米) "},
                                            {"lblMargin_0", "Caption", "上:"},
                                            {"lblMargin_1", "Caption", "下:"},
                                            {"lblMargin_2", "Caption", "左:"},
                                            {"lblMargin_3", "Caption", "右:"},
                                            {"fraScaling", "Caption", " 打印缩放 "},
                                            {"optScaling_0", "Caption", "不缩放"},
                                            {"optScaling_1", "Caption", "智能打印"},
                                            {"optScaling_2", "Caption", "缩放:"},
                                            {"optScaling_3", "Caption", "适合页面:"},
                                            {"cmdPrint", "Caption", "打印(&P)"},
                                            {"cmdPreview", "Caption", "预览(&V)"},
                                            {"cmdPrinter", "Caption", "打印机(&R)"},
                                            {"cmdCancel", "Caption", "取消"},
                                        });
    return kTexts;
}

// An up-down control beside its box: the spin box's arrows alone, its own number (shown in the
// box beside it) hidden, so that nothing is cut.
void upDownOnly(QSpinBox* upd)
{
    QStyleOptionSpinBox option;
    option.initFrom(upd);
    option.rect = QRect(0, 0, 100, upd->sizeHint().height());
    option.subControls = QStyle::SC_SpinBoxUp | QStyle::SC_SpinBoxDown | QStyle::SC_SpinBoxFrame;
    const QRect arrows =
        upd->style()->subControlRect(QStyle::CC_SpinBox, &option, QStyle::SC_SpinBoxUp, upd);
    upd->setFixedWidth(option.rect.right() - arrows.left() + 3);
    if (auto* text = upd->findChild<QLineEdit*>())
        text->setVisible(false);
}

QGroupBox* frame(const char* name)
{
    auto* box = new QGroupBox;
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

QLabel* label(const QString& name, const QString& text = QString())
{
    auto* l = new QLabel(text);
    l->setObjectName(name);
    return l;
}

} // namespace

int frmPrintSpread::marginUnit()
{
    const int code = hostContext().LanguageCode;
    return code == 2 || code == 3 ? 1440 : 567;
}

frmPrintSpread::frmPrintSpread(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmPrintSpread"));
    setAttribute(Qt::WA_DeleteOnClose, false);

    // Page range.
    auto* pageBox = frame("fraPage");
    auto* pageLayout = new QGridLayout(pageBox);
    m_page = new QButtonGroup(this);
    for (int i = 0; i < 4; ++i) {
        optPage[i] = new QRadioButton;
        optPage[i]->setObjectName(QStringLiteral("optPage_%1").arg(i));
        m_page->addButton(optPage[i], i);
        pageLayout->addWidget(optPage[i], i, 0);
    }
    auto* pages = new QHBoxLayout;
    for (int i = 0; i < 2; ++i) {
        cboPage[i] = editableCombo(QStringLiteral("cboPage_%1").arg(i));
        cboPage[i]->setMinimumContentsLength(4); // room for a page number of four digits
        cboPage[i]->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        // A page box whose text is not a number after a key press starts again at "1".
        connect(cboPage[i]->lineEdit(), &QLineEdit::textEdited, this,
                [box = cboPage[i]](const QString& t) {
                    if (!isNumeric(t))
                        box->setEditText(QStringLiteral("1"));
                });
        pages->addWidget(cboPage[i]);
        if (i == 0)
            pages->addWidget(label(QStringLiteral("lblPageTo")));
    }
    pageLayout->addLayout(pages, 3, 1);

    // Options.
    auto* optionBox = frame("fraOption");
    auto* optionLayout = new QGridLayout(optionBox);
    for (int i = 0; i < 9; ++i) {
        chkOption[i] = new QCheckBox;
        chkOption[i]->setObjectName(QStringLiteral("chkOption_%1").arg(i));
        optionLayout->addWidget(chkOption[i], i % 5, i / 5);
    }

    // Orientation.
    auto* orientationBox = frame("fraOrientation");
    auto* orientationLayout = new QHBoxLayout(orientationBox);
    for (int i = 0; i < 2; ++i) {
        optOrientation[i] = new QRadioButton;
        optOrientation[i]->setObjectName(QStringLiteral("optOrientation_%1").arg(i));
        orientationLayout->addWidget(optOrientation[i]);
    }

    // Margins.
    auto* marginBox = frame("fraMargin");
    auto* marginLayout = new QGridLayout(marginBox);
    for (int i = 0; i < 4; ++i) {
        cboMargin[i] = editableCombo(QStringLiteral("cboMargin_%1").arg(i));
        marginLayout->addWidget(label(QStringLiteral("lblMargin_%1").arg(i)), i / 2, (i % 2) * 2);
        marginLayout->addWidget(cboMargin[i], i / 2, (i % 2) * 2 + 1);
    }

    // Scaling.
    auto* scalingBox = frame("fraScaling");
    auto* scalingLayout = new QGridLayout(scalingBox);
    m_scaling = new QButtonGroup(this);
    for (int i = 0; i < 4; ++i) {
        optScaling[i] = new QRadioButton;
        optScaling[i]->setObjectName(QStringLiteral("optScaling_%1").arg(i));
        m_scaling->addButton(optScaling[i], i);
        scalingLayout->addWidget(optScaling[i], i, 0);
    }
    cboZoom = editableCombo(QStringLiteral("cboZoom"),
                            {QStringLiteral("200"), QStringLiteral("150"), QStringLiteral("100"),
                             QStringLiteral("75"), QStringLiteral("50"), QStringLiteral("25")});
    scalingLayout->addWidget(cboZoom, 2, 1);
    scalingLayout->addWidget(new QLabel(QStringLiteral("%")), 2, 2);
    cboWide = editableCombo(QStringLiteral("cboWide"));
    cboTall = editableCombo(QStringLiteral("cboTall"));
    updWide = new QSpinBox;
    updWide->setObjectName(QStringLiteral("updWide"));
    updTall = new QSpinBox;
    updTall->setObjectName(QStringLiteral("updTall"));
    auto* fit = new QHBoxLayout;
    for (auto [box, upd] : {std::pair{cboWide, updWide}, std::pair{cboTall, updTall}}) {
        upd->setRange(1, 999);
        upd->setButtonSymbols(QAbstractSpinBox::UpDownArrows);
        upDownOnly(upd);
        connect(upd, &QSpinBox::valueChanged, box,
                [box](int v) { box->setEditText(QString::number(v)); });
        connect(box, &QComboBox::editTextChanged, upd, [upd](const QString& t) {
            bool ok = false;
            const int v = t.toInt(&ok);
            if (ok && v != upd->value()) {
                const QSignalBlocker block(upd);
                upd->setValue(v);
            }
        });
        fit->addWidget(box);
        fit->addWidget(upd);
        if (box == cboWide)
            fit->addWidget(new QLabel(QStringLiteral("×")));
    }
    scalingLayout->addLayout(fit, 3, 1, 1, 2);

    // Buttons.
    auto* buttons = new QVBoxLayout;
    const char* const buttonNames[4] = {"cmdPrint", "cmdPreview", "cmdPrinter", "cmdCancel"};
    QPushButton* made[4];
    for (int i = 0; i < 4; ++i) {
        made[i] = new QPushButton;
        made[i]->setObjectName(QString::fromLatin1(buttonNames[i]));
        buttons->addWidget(made[i]);
    }
    buttons->addStretch();
    connect(made[0], &QPushButton::clicked, this, &frmPrintSpread::cmdPrint_Click);
    connect(made[1], &QPushButton::clicked, this, &frmPrintSpread::cmdPreview_Click);
    connect(made[2], &QPushButton::clicked, this, &frmPrintSpread::cmdPrinter_Click);
    connect(made[3], &QPushButton::clicked, this, &QDialog::reject);

    auto* grid = new QGridLayout(this);
    grid->addWidget(pageBox, 0, 0);
    grid->addWidget(optionBox, 0, 1);
    grid->addWidget(orientationBox, 1, 0);
    grid->addWidget(marginBox, 1, 1);
    grid->addWidget(scalingBox, 2, 0, 1, 2);
    grid->addLayout(buttons, 0, 2, 3, 1);

    texts().translate(this);

    connect(m_page, &QButtonGroup::idToggled, this, &frmPrintSpread::updateEnabled);
    connect(m_scaling, &QButtonGroup::idToggled, this, &frmPrintSpread::updateEnabled);
    updateEnabled();
}

frmPrintSpread::~frmPrintSpread() = default;

void frmPrintSpread::updateEnabled()
{
    const bool pages = optPage[3]->isChecked();
    cboPage[0]->setEnabled(pages);
    cboPage[1]->setEnabled(pages);
    cboZoom->setEnabled(optScaling[2]->isChecked());
    const bool fit = optScaling[3]->isChecked();
    for (QWidget* w : {static_cast<QWidget*>(cboWide), static_cast<QWidget*>(cboTall),
                       static_cast<QWidget*>(updWide), static_cast<QWidget*>(updTall)})
        w->setEnabled(fit);
}

void frmPrintSpread::load(Sheet* grid, const QString& caption)
{
    m_grid = grid;
    m_caption = caption;
    setWindowTitle(texts().text(QStringLiteral("frmPrintSpread")) + QStringLiteral(" - ") +
                   caption);
    if (!grid)
        return;
    const PrintSettings& ps = grid->printSettings();
    const int pageCount = SheetPrinter(*grid).pageCount();
    QStringList numbers;
    for (int p = 1; p <= pageCount; ++p)
        numbers << QString::number(p);
    for (QComboBox* box : cboPage) {
        box->clear();
        box->addItems(numbers);
    }
    cboPage[0]->setEditText(QString::number(ps.pageStart));
    cboPage[1]->setEditText(QString::number(ps.pageEnd));
    optPage[std::clamp(int(ps.printType), 0, 3)]->setChecked(true);
    const bool options[9] = {ps.columnHeaders, ps.rowHeaders,       ps.gridLines,
                             ps.border,        ps.dataCellsOnly,    ps.color,
                             ps.shadows,       ps.centerHorizontal, ps.centerVertical};
    for (int i = 0; i < 9; ++i)
        chkOption[i]->setChecked(options[i]);
    optOrientation[ps.orientation == PrintSettings::Orientation::Landscape ? 1 : 0]->setChecked(
        true);
    const double unit = marginUnit();
    const int margins[4] = {ps.marginTop, ps.marginBottom, ps.marginLeft, ps.marginRight};
    for (int i = 0; i < 4; ++i)
        cboMargin[i]->setEditText(QString::number(margins[i] / unit, 'f', 2));
    optScaling[std::clamp(int(ps.scaling), 0, 3)]->setChecked(true);
    cboZoom->setEditText(QString::number(qRound(ps.zoomFactor * 100)));
    updWide->setValue(ps.bestFitPagesWide);
    updTall->setValue(ps.bestFitPagesTall);
    cboWide->setEditText(QString::number(ps.bestFitPagesWide));
    cboTall->setEditText(QString::number(ps.bestFitPagesTall));
    updateEnabled();
}

void frmPrintSpread::ShowMe(Sheet* grid, const QString& caption)
{
    load(grid, caption);
    setModal(true);
    show();
}

void frmPrintSpread::apply()
{
    if (!m_grid)
        return;
    PrintSettings& ps = m_grid->printSettings();
    ps.printType = PrintSettings::PrintType(std::max(0, m_page->checkedId()));
    if (ps.printType == PrintSettings::PrintType::CellRange) {
        const CellBlock sel = m_grid->selection();
        ps.blockCol = sel.col;
        ps.blockRow = sel.row;
        ps.blockCol2 = sel.col2;
        ps.blockRow2 = sel.row2;
    }
    if (ps.printType == PrintSettings::PrintType::PageRange) {
        ps.pageStart = cboPage[0]->currentText().trimmed().toInt();
        ps.pageEnd = cboPage[1]->currentText().trimmed().toInt();
    }
    bool* options[9] = {&ps.columnHeaders, &ps.rowHeaders,       &ps.gridLines,
                        &ps.border,        &ps.dataCellsOnly,    &ps.color,
                        &ps.shadows,       &ps.centerHorizontal, &ps.centerVertical};
    for (int i = 0; i < 9; ++i)
        *options[i] = chkOption[i]->isChecked();
    ps.orientation = optOrientation[1]->isChecked() ? PrintSettings::Orientation::Landscape
                                                    : PrintSettings::Orientation::Portrait;
    int* margins[4] = {&ps.marginTop, &ps.marginBottom, &ps.marginLeft, &ps.marginRight};
    const int unit = marginUnit();
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        const double v = cboMargin[i]->currentText().trimmed().toDouble(&ok);
        if (ok) // a box that does not read as a number keeps the margin it had
            *margins[i] = qRound(v * unit);
    }
    ps.scaling = PrintSettings::Scaling(std::max(0, m_scaling->checkedId()));
    bool ok = false;
    const double zoom = cboZoom->currentText().trimmed().toDouble(&ok);
    if (ok && zoom > 0)
        ps.zoomFactor = zoom / 100;
    const int wide = cboWide->currentText().trimmed().toInt(&ok);
    if (ok && wide > 0)
        ps.bestFitPagesWide = wide;
    const int tall = cboTall->currentText().trimmed().toInt(&ok);
    if (ok && tall > 0)
        ps.bestFitPagesTall = tall;
}

bool frmPrintSpread::printToPdf(const QString& path)
{
    apply();
    return m_grid && SheetPrinter(*m_grid).printToPdf(path);
}

bool frmPrintSpread::printGrid(const Sheet& grid, const QString& caption, QWidget* parent,
                               QPrinter* printer)
{
    const SheetPrinter sheetPrinter(grid);
    QString name = caption.trimmed().isEmpty() ? QStringLiteral("print") : caption.trimmed();
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    if (HostUi::isHeadless())
        return sheetPrinter.printToPdf(UserTempDirectory() + QLatin1Char('/') + name +
                                       QStringLiteral(".pdf"));
    if (printer)
        return sheetPrinter.print(printer);
    if (!QPrinterInfo::availablePrinters().isEmpty()) {
        QPrinter chosen(QPrinter::HighResolution);
        QPrintDialog dialog(&chosen, parent);
        if (dialog.exec() != QDialog::Accepted)
            return false;
        return sheetPrinter.print(&chosen);
    }
    const QString path =
        QFileDialog::getSaveFileName(parent, texts().text(QStringLiteral("frmPrintSpread")),
                                     name + QStringLiteral(".pdf"), QStringLiteral("PDF (*.pdf)"));
    if (path.isEmpty())
        return false;
    return sheetPrinter.printToPdf(path);
}

void frmPrintSpread::cmdPrint_Click()
{
    apply();
    if (!m_grid)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    printGrid(*m_grid, m_caption, this, m_printer.get());
    QApplication::restoreOverrideCursor();
    accept();
}

void frmPrintSpread::cmdPreview_Click()
{
    apply();
    Sheet* grid = m_grid;
    const QString caption = m_caption;
    QWidget* owner = parentWidget();
    close();
    auto* preview = new frmPreview(owner);
    preview->setAttribute(Qt::WA_DeleteOnClose);
    preview->ShowMe(grid, caption);
}

void frmPrintSpread::cmdPrinter_Click()
{
    if (HostUi::isHeadless())
        return;
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    QPrintDialog dialog(printer.get(), this);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    if (dialog.exec() == QDialog::Accepted)
        m_printer = std::move(printer);
}
