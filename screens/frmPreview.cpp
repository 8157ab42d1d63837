#include "frmPreview.h"

#include "HostUi.h"
#include "Sheet.h"
#include "SheetPreview.h"
#include "frmPrintSpread.h"
#include "modMessage.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

namespace {

QString lt(const char* gb, const char* big, const char* en)
{
    return LanguageText(QString::fromUtf8(gb), QString::fromUtf8(big), QString::fromUtf8(en));
}

// The zoom list: text, view, percent, pages across, pages down.
struct ZoomEntry
{
    const char* text;
    SheetPreview::ViewType view;
    int percent, across, down;
};
using V = SheetPreview::ViewType;
const ZoomEntry ZoomEntries[] = {
    {"200%", V::Percentage, 200, 1, 1},
    {"150%", V::Percentage, 150, 1, 1},
    {"100%", V::Percentage, 100, 1, 1},
    {"75%", V::Percentage, 75, 1, 1},
    {"50%", V::Percentage, 50, 1, 1},
    {"25%", V::Percentage, 25, 1, 1},
    {"10%", V::Percentage, 10, 1, 1},
    {"Page Width", V::PageWidth, 100, 1, 1},
    {"Page Height", V::PageHeight, 100, 1, 1},
    {"Whole Page", V::WholePage, 100, 1, 1},
    {"Two Pages", V::MultiplePages, 100, 2, 1},
    {"Three Pages", V::MultiplePages, 100, 3, 1},
    {"Four Pages", V::MultiplePages, 100, 2, 2},
    {"Six Pages", V::MultiplePages, 100, 3, 2},
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
    cmdPrev = make("cmdPrev", lt("上一页(&P)", "上一頁(&P)", "&Previous"));
    cmdNext = make("cmdNext", lt("下一页(&N)", "下一頁(&N)", "&Next"));
    cmdZoom = make("cmdZoom", lt("缩放(&Z)", "縮放(&Z)", "&Zoom"));
    cmdPrint = make("cmdPrint", lt("打印(&T)", "列印(&T)", "Prin&t"));
    cmdSetup = make("cmdSetup", lt("设置(&S)", "設置(&S)", "&Setup"));
    cmdClose = make("cmdClose", lt("关闭(&C)", "關閉(&C) ", "&Close"));
    cboZoom = new QComboBox;
    cboZoom->setObjectName(QStringLiteral("cboZoom"));
    for (const ZoomEntry& e : ZoomEntries)
        cboZoom->addItem(QString::fromLatin1(e.text));
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
    setWindowTitle(lt("打印预览", "列印預覽", "Print Preview") + QStringLiteral(" - ") + caption);
    sprPreview->setSheet(grid);
    setZoomIndex(WholePageIndex);
}

void frmPreview::ShowMe(Sheet* grid, const QString& caption)
{
    load(grid, caption);
    show();
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

QString frmPreview::statusText() const
{
    return m_panel1->text();
}

void frmPreview::updateControls()
{
    const int count = sprPreview->pageCount();
    cmdPrev->setEnabled(sprPreview->firstPage() > 1);
    cmdNext->setEnabled(sprPreview->lastPage() < count);
    QString status = lt("第{@Current}页，共{@Count}页", "第{@Current}頁，共{@Count}頁",
                        "Page {@Current} of {@Count}");
    status.replace(QStringLiteral("{@Current}"), QString::number(sprPreview->currentPage()));
    status.replace(QStringLiteral("{@Count}"), QString::number(count));
    m_panel1->setText(status);
}
