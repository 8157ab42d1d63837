#include "ui/frmPreview.h"

#include "core/LanguageSection.h"
#include "framework/HostUi.h"
#include "sheet/Sheet.h"
#include "sheet/SheetPreview.h"
#include "ui/frmPrintSpread.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

namespace {

// The window's texts: the Chinese built in, the language file's in other languages.
const LanguageSection& texts()
{
    static const LanguageSection kTexts("frmPreview",
                                        {
                                            {"frmPreview", "Caption", "打印预览"},
                                            {"cmdPrev", "Caption", "上一页(&P)"},
                                            {"cmdNext", "Caption", "下一页(&N)"},
                                            {"cmdZoom", "Caption", "缩放(&Z)"},
                                            {"cmdPrint", "Caption", "打印(&T)"},
                                            {"cmdSetup", "Caption", "设置(&S)"},
                                            {"cmdClose", "Caption", "关闭(&C)"},
                                            {"cboZoom", "PageWidth", "页宽"},
                                            {"cboZoom", "PageHeight", "页高"},
                                            {"cboZoom", "WholePage", "整页"},
                                            {"cboZoom", "TwoPages", "两页"},
                                            {"cboZoom", "ThreePages", "三页"},
                                            {"cboZoom", "FourPages", "四页"},
                                            {"cboZoom", "SixPages", "六页"},
                                            {"staBar", "Page", "第{@Current}页，共{@Count}页"},
                                        });
    return kTexts;
}

// The zoom list: text (a percentage, or the key of the text in the window's texts), view,
// percent, pages across, pages down.
struct ZoomEntry
{
    const char* text;
    SheetPreview::ViewType view;
    int percent, across, down;
};
using V = SheetPreview::ViewType;
const ZoomEntry ZoomEntries[] = {
    {"200%", V::Percentage, 200, 1, 1},         {"150%", V::Percentage, 150, 1, 1},
    {"100%", V::Percentage, 100, 1, 1},         {"75%", V::Percentage, 75, 1, 1},
    {"50%", V::Percentage, 50, 1, 1},           {"25%", V::Percentage, 25, 1, 1},
    {"10%", V::Percentage, 10, 1, 1},           {"PageWidth", V::PageWidth, 100, 1, 1},
    {"PageHeight", V::PageHeight, 100, 1, 1},   {"WholePage", V::WholePage, 100, 1, 1},
    {"TwoPages", V::MultiplePages, 100, 2, 1},  {"ThreePages", V::MultiplePages, 100, 3, 1},
    {"FourPages", V::MultiplePages, 100, 2, 2}, {"SixPages", V::MultiplePages, 100, 3, 2},
};
constexpr int WholePageIndex = 9;

} // namespace

frmPreview::frmPreview(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frmPreview"));
    auto make = [this](const char* name, const QString& text) {
        auto* b = new QPushButton(text);
        b->setObjectName(QString::fromLatin1(name));
        return b;
    };
    cmdPrev = make("cmdPrev", QString());
    cmdNext = make("cmdNext", QString());
    cmdZoom = make("cmdZoom", QString());
    cmdPrint = make("cmdPrint", QString());
    cmdSetup = make("cmdSetup", QString());
    cmdClose = make("cmdClose", QString());
    cboZoom = new QComboBox;
    cboZoom->setObjectName(QStringLiteral("cboZoom"));
    for (const ZoomEntry& e : ZoomEntries) {
        const QString text = QString::fromLatin1(e.text);
        cboZoom->addItem(e.view == V::Percentage ? text
                                                 : texts().text(QStringLiteral("cboZoom"), text));
    }
    sprPreview = new SheetPreview;
    sprPreview->setObjectName(QStringLiteral("sprPreview"));
    staBar = new QStatusBar;
    staBar->setObjectName(QStringLiteral("staBar"));
    m_panel1 = new QLabel;
    staBar->addWidget(m_panel1, 1);

    auto* bar = new QHBoxLayout;
    for (QWidget* w : {static_cast<QWidget*>(cmdPrev), static_cast<QWidget*>(cmdNext),
                       static_cast<QWidget*>(cboZoom), static_cast<QWidget*>(cmdZoom),
                       static_cast<QWidget*>(cmdPrint), static_cast<QWidget*>(cmdSetup),
                       static_cast<QWidget*>(cmdClose)})
        bar->addWidget(w);
    bar->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 0);
    layout->addLayout(bar);
    layout->addWidget(sprPreview, 1);
    layout->addWidget(staBar);

    texts().translate(this);

    connect(cboZoom, &QComboBox::activated, this, &frmPreview::cboZoom_Click);
    connect(cmdPrev, &QPushButton::clicked, this, &frmPreview::cmdPrev_Click);
    connect(cmdNext, &QPushButton::clicked, this, &frmPreview::cmdNext_Click);
    connect(cmdZoom, &QPushButton::clicked, this, [this] {
        sprPreview->setZoomedIn(!sprPreview->isZoomedIn());
        updateControls();
    });
    connect(cmdPrint, &QPushButton::clicked, this, [this] {
        if (m_grid)
            frmPrintSpread::printGrid(*m_grid, m_caption, this);
    });
    connect(cmdSetup, &QPushButton::clicked, this, &frmPreview::cmdSetup_Click);
    connect(sprPreview, &SheetPreview::viewChanged, this, &frmPreview::updateControls);
    connect(cmdClose, &QPushButton::clicked, this, &QWidget::close);
    resize(900, 700);
}

void frmPreview::load(Sheet* grid, const QString& caption)
{
    m_grid = grid;
    m_caption = caption;
    setWindowTitle(texts().text(objectName()) + QStringLiteral(" - ") + caption);
    sprPreview->setSheet(grid);
    setZoomIndex(WholePageIndex);
}

void frmPreview::ShowMe(Sheet* grid, const QString& caption)
{
    load(grid, caption);
    show();
    raise();
    activateWindow(); // the keyboard goes to the preview, not the window underneath
}

void frmPreview::setZoomIndex(int index)
{
    cboZoom->setCurrentIndex(index);
    cboZoom_Click(index);
}

void frmPreview::cboZoom_Click(int index)
{
    if (index < 0 || index >= int(std::size(ZoomEntries)))
        return;
    const ZoomEntry& e = ZoomEntries[index];
    sprPreview->setView(e.view, e.percent, e.across, e.down);
    updateControls();
}

void frmPreview::cmdPrev_Click()
{
    const int n = sprPreview->lastPage() - sprPreview->firstPage() + 1;
    sprPreview->setCurrentPage(sprPreview->firstPage() - n);
    updateControls();
}

void frmPreview::cmdNext_Click()
{
    sprPreview->setCurrentPage(sprPreview->lastPage() + 1);
    updateControls();
}

void frmPreview::cmdSetup_Click()
{
    if (!m_grid)
        return;
    frmPrintSpread dialog(this);
    dialog.load(m_grid, m_caption);
    if (HostUi::isHeadless())
        return;
    dialog.exec();
    sprPreview->refresh();
    updateControls();
}

void frmPreview::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape)
        close();
    else
        QWidget::keyPressEvent(event);
}

QString frmPreview::statusText() const
{
    return m_panel1->text();
}

void frmPreview::updateControls()
{
    const int count = sprPreview->pageCount();
    cmdPrev->setEnabled(sprPreview->firstPage() > 1);
    cmdNext->setEnabled(sprPreview->lastPage() < count);
    QString status = texts().text(QStringLiteral("staBar"), QStringLiteral("Page"));
    status.replace(QStringLiteral("{@Current}"), QString::number(sprPreview->currentPage()));
    status.replace(QStringLiteral("{@Count}"), QString::number(count));
    m_panel1->setText(status);
}
