#include "ui/ReportScreen.h"

#include "core/HostContext.h"
#include "core/LanguageSection.h"
#include "core/ScreenRegistry.h"
#include "core/frmHelp.h"
#include "core/modBranch.h"
#include "core/modMessage.h"
#include "core/mod_API_Help.h"
#include "query/DatePeriod.h"
#include "query/SavedCriteria.h"
#include "query/ScreenSpec.h"
#include "sheet/Sheet.h"
#include "sheet/Twips.h"
#include "ui/BranchCriterion.h"
#include "ui/CriteriaBar.h"
#include "ui/CriteriaControl.h"
#include "ui/DropDownComboBox.h"
#include "ui/frmSaveCriteria.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDateEdit>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>
#include <stdexcept>

namespace {

constexpr int TitleStripTwips = 330;
constexpr int BottomStripTwips = 330;
constexpr int BodyLeftTwips = 60;
constexpr int ProgressLeftTwips = 4635;
constexpr int GapTwips = 90;

const char* const DatePeriodKeys[] = {"Today", "FromCurWeek", "FromCurMonth", "InCurWeek",
                                      "InCurMonth"};
const char* const DatePeriodCaptions[] = {"今天", "本周以来", "本月以来", "本周内", "本月内"};

struct MainKey
{
    const char* key;
    const char* caption;
};
const MainKey MainKeys[] = {
    {"Refresh", "刷新"},          {"FullScreen", "全屏"}, {"Open", "打开"}, {"Save", "保存"},
    {"SaveCriteria", "保存条件"}, {"Print", "打印"},      {"Help", "帮助"}, {"Exit", "退出"}};

QString textOr(const QString& text, const QString& fallback)
{
    return text.isEmpty() ? fallback : text;
}

} // namespace

const QDate ReportScreen::LastDate(9999, 12, 30);

ReportScreen::ReportScreen(const ScreenSpec& spec, QWidget* parent)
    : QWidget(parent), m_spec(spec), m_title(QString::fromUtf8(spec.title)), m_sizeTwips(spec.size)
{
    setObjectName(QString::fromLatin1(spec.name));
    setWindowTitle(QString::fromUtf8(spec.caption ? spec.caption : spec.title));

    tlbMain = new QToolBar(this);
    tlbMain->setObjectName(QStringLiteral("tlbMain"));
    tlbMain->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    for (const MainKey& k : MainKeys)
        addToolbarKey(QString::fromLatin1(k.key), QString::fromUtf8(k.caption));

    tlbDate = new QToolBar(this);
    tlbDate->setObjectName(QStringLiteral("tlbDate"));
    auto* period = new QAction(QStringLiteral("请选择时间段  "), tlbDate);
    period->setObjectName(QStringLiteral("Period"));
    auto* menu = new QMenu(this);
    for (int i = 0; i < 5; ++i) {
        QAction* a = menu->addAction(QString::fromUtf8(DatePeriodCaptions[i]));
        a->setObjectName(QString::fromLatin1(DatePeriodKeys[i]));
        const QString key = a->objectName();
        connect(a, &QAction::triggered, this, [this, key] { applyDatePeriod(key); });
    }
    period->setMenu(menu);
    tlbDate->addAction(period);
    if (auto* button = qobject_cast<QToolButton*>(tlbDate->widgetForAction(period)))
        button->setPopupMode(QToolButton::InstantPopup);

    picTop = new QWidget(this);
    picTop->setObjectName(QStringLiteral("picTop"));
    picBar = new QWidget(picTop);
    picBar->setObjectName(QStringLiteral("picBar"));
    picBar->setAutoFillBackground(true);
    QPalette barPalette = picBar->palette();
    barPalette.setColor(QPalette::Window, QColor(0x3a, 0x5f, 0x8f));
    picBar->setPalette(barPalette);
    lblBar = new QLabel(m_title, picBar);
    lblBar->setObjectName(QStringLiteral("lblBar"));
    QFont barFont = lblBar->font();
    barFont.setBold(true);
    barFont.setPointSizeF(barFont.pointSizeF() * 1.15);
    lblBar->setFont(barFont);
    lblBar->setStyleSheet(QStringLiteral("color: white; padding-left: 6px;"));
    // The saved criteria, at the right of the title strip.
    lblSavedCriteria = new QLabel(Msg(QStringLiteral("Msg_Criteria_List")), picBar);
    lblSavedCriteria->setObjectName(QStringLiteral("lblSavedCriteria"));
    lblSavedCriteria->setStyleSheet(QStringLiteral("color: white;"));
    lblSavedCriteria->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    cboSavedCriteria = new QComboBox(picBar);
    cboSavedCriteria->setObjectName(QStringLiteral("cboSavedCriteria"));
    connect(cboSavedCriteria, &QComboBox::activated, this, [this](int index) {
        if (index > 0)
            openSavedCriteria(cboSavedCriteria->itemText(index));
    });

    std::vector<const char*> viewOptions;
    for (const ViewSpec& view : spec.views)
        viewOptions.push_back(view.option ? view.option : "");
    m_criteria = new CriteriaBar(spec.rows, viewOptions, spec.criteria, picTop,
                                 [this](QWidget* w, int left, int top, int width, int height) {
                                     place(w, left, top, width, height);
                                 });
    if (!spec.views.empty())
        m_criteria->setSortColumns(spec.views.front().columns,
                                   ViewControlName("ctlQuery", 0, ViewsIndexed(spec)));
    m_criteria->setListFill(
        [this](const QString& name, QComboBox* combo) { fillList(name, combo); });
    if (spec.criteria.isDeclared()) {
        // A branch choice that reaches no statement would be a filter dropped.
        bool branchCriterion = false;
        for (const std::vector<CriterionSpec>& row : spec.rows)
            for (const CriterionSpec& c : row)
                branchCriterion = branchCriterion || c.kind == CriterionKind::Branch;
        // Branch columns without a branch criterion keep the rows to the user's branches.
        if (branchCriterion && spec.branch.empty())
            throw std::logic_error(std::string(spec.name) +
                                   ": a branch criterion, no branch columns");
        // Each statement a view's figures come from marks its branch condition on the columns
        // the screen declares (and marks none without them).
        if (spec.criteria.statements) {
            const int views = std::max(1, int(spec.views.size()));
            for (int v = 0; v < views; ++v) {
                for (const Statement& s : spec.criteria.statements(v, spec.criteria.make())) {
                    try {
                        BranchScope::check(s, spec.branch);
                    } catch (const std::logic_error& e) {
                        throw std::logic_error(std::string(spec.name) + " view " +
                                               std::to_string(v + 1) + ": " + e.what());
                    }
                }
            }
        }
    }
    // Each view's statement (for a view with its own cells or a chart, the statement its figures
    // are read from), for criteria as they start, marks its branch condition on the columns the
    // screen declares (and marks none without them).
    if (spec.criteria.statement) {
        for (int v = 0; v < std::max(1, int(spec.views.size())); ++v) {
            try {
                BranchScope::check(spec.criteria.statement(v, spec.criteria.make()), spec.branch);
            } catch (const std::logic_error& e) {
                throw std::logic_error(std::string(spec.name) + " view " + std::to_string(v + 1) +
                                       ": " + e.what());
            }
        }
    }
    dtpBegin = picTop->findChild<QDateEdit*>(QStringLiteral("dtpBegin"));
    dtpEnd = picTop->findChild<QDateEdit*>(QStringLiteral("dtpEnd"));
    for (QDateEdit* date : picTop->findChildren<QDateEdit*>())
        date->setMaximumDate(LastDate);

    lblAutoSize = new QLabel(this);
    lblAutoSize->setObjectName(QStringLiteral("lblAutoSize"));
    lblAutoSize->hide();

    Picture1 = new QWidget(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    StatusBar1 = new QStatusBar(Picture1);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    statusPanel1 = new QLabel(StatusBar1);
    statusPanel1->setObjectName(QStringLiteral("StatusBar1_Panel1"));
    StatusBar1->addWidget(statusPanel1, 1);
    ProgressBar1 = new QProgressBar(Picture1);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->hide();
}

ReportScreen::~ReportScreen() = default;

QAction* ReportScreen::addToolbarKey(const QString& key, const QString& caption)
{
    auto* action = new QAction(caption, tlbMain);
    action->setObjectName(key);
    action->setToolTip(caption);
    tlbMain->addAction(action);
    connect(action, &QAction::triggered, this, [this, key] { onToolbarKey(key); });
    return action;
}

int ReportScreen::twipsX(int twips) const
{
    return twipsToPixelsX(twips, this);
}
int ReportScreen::twipsY(int twips) const
{
    return twipsToPixelsY(twips, this);
}

void ReportScreen::place(QWidget* w, int left, int top, int width, int height)
{
    w->setParent(picTop);
    w->setGeometry(twipsX(left), twipsY(TitleStripTwips + top), twipsX(width), twipsY(height));
    w->show();
}

void ReportScreen::setBody(QWidget* body)
{
    m_body = body;
    body->setParent(this);
    body->show();
}

QString ReportScreen::title() const
{
    return m_title;
}
QDate ReportScreen::beginDate() const
{
    return dtpBegin ? dtpBegin->date() : QDate();
}
QDate ReportScreen::endDate() const
{
    return dtpEnd ? dtpEnd->date() : QDate();
}

const LanguageSection* ReportScreen::languageTexts() const
{
    if (m_texts)
        return m_texts.get();
    // Every text of the screen, from its description: caption, title, criteria, the title and
    // column captions of each view's query control, and its own messages.
    const QString caption = QStringLiteral("Caption");
    std::vector<LanguageEntry> entries{
        {objectName(), caption, windowTitle()},
        {QStringLiteral("lblBar"), caption, m_title},
    };
    for (LanguageEntry& e : m_criteria->languageEntries())
        entries.push_back(std::move(e));
    for (size_t v = 0; v < m_spec.views.size(); ++v) {
        const QString control = ViewControlName("ctlQuery", int(v), ViewsIndexed(m_spec));
        entries.push_back(
            {control, QStringLiteral("Title"), QString::fromUtf8(m_spec.views[v].title)});
        std::function<void(const std::vector<ColumnSpec>&)> addColumns =
            [&](const std::vector<ColumnSpec>& columns) {
                for (const ColumnSpec& c : columns) {
                    const QString field = QString::fromUtf8(c.field);
                    const QString key = field.mid(field.lastIndexOf(QLatin1Char('|')) + 1);
                    const bool known = std::any_of(entries.begin(), entries.end(), [&](auto& e) {
                        return e.key == control && e.property == key;
                    });
                    if (!key.isEmpty() && !known && !c.eachEntryOf) // data, not a text
                        entries.push_back({control, key, QString::fromUtf8(c.caption)});
                    addColumns(c.sub);
                }
            };
        addColumns(m_spec.views[v].columns);
    }
    for (const TextSpec& t : m_spec.texts)
        entries.push_back({QString::fromLatin1(t.key),
                           QString::fromLatin1(t.property ? t.property : "Default"),
                           QString::fromUtf8(t.defaultText)});
    for (LanguageEntry& e : ownTexts())
        entries.push_back(std::move(e));
    m_texts = std::make_unique<LanguageSection>(objectName(), std::move(entries));
    return m_texts.get();
}

void ReportScreen::loadScreen()
{
    if (!m_loaded)
        formLoadCommon();
}

void ReportScreen::setTitle(const QString& title)
{
    m_title = title;
    lblBar->setText(title);
    setWindowTitle(title);
}

QString ReportScreen::ownText(const char* key) const
{
    return languageTexts()->text(QString::fromLatin1(key), QStringLiteral("Default"));
}

void ReportScreen::ShowMe()
{
    MDIActiveX1.embed(this, m_sizeTwips.width(), m_sizeTwips.height());
    loadScreen();
    MDIActiveX1.activate(this); // shows it when hidden, brings it to the front otherwise
}

void ReportScreen::showEvent(QShowEvent* event)
{
    if (!m_loaded)
        formLoadCommon();
    QWidget::showEvent(event);
}

void ReportScreen::formLoadCommon()
{
    m_loaded = true;
    translateCaptions();
    setStatusText(Msg(QStringLiteral("Msg_Report_Refresh")));

    const QString format =
        textOr(Msg(QStringLiteral("Msg_dtpCustomFormat")), QStringLiteral("yyyy年MM月dd日"));
    for (QDateEdit* date : picTop->findChildren<QDateEdit*>())
        date->setDisplayFormat(format);
    m_criteria->load(
        languageTexts()); // today's dates, "(全部)" in the lists, the deleted-data option
    lblSavedCriteria->setText(Msg(QStringLiteral("Msg_Criteria_List")));
    fillSavedList();

    if (m_spec.helpContext)
        SetHelpContext(this, QString::fromLatin1(m_spec.helpContext));
    cmdSetColumn1();
    formLoad();
    // The date periods set dtpBegin and dtpEnd: a screen without them offers none.
    tlbDate->setVisible(dtpBegin && dtpEnd);
    if (hostContext().LanguageCode == 3)
        applyEnglishLayout();
    resizeEvent(nullptr);
}

void ReportScreen::translateCaptions()
{
    if (const LanguageSection* texts = languageTexts())
        texts->translate(this);
    TranslateToolbar(tlbMain);
    TranslateToolbar(tlbDate);
}

void ReportScreen::applyEnglishLayout()
{
    for (const QList<QWidget*>& row : m_criteria->englishRows()) {
        QWidget* previous = nullptr;
        for (QWidget* w : row) {
            QString caption;
            if (auto* label = qobject_cast<QLabel*>(w))
                caption = label->text();
            else if (auto* button = qobject_cast<QAbstractButton*>(w))
                caption = button->text();
            int width = w->width();
            if (qobject_cast<QLabel*>(w) ||
                (qobject_cast<QAbstractButton*>(w) && !caption.isEmpty())) {
                lblAutoSize->setFont(w->font());
                lblAutoSize->setText(caption);
                lblAutoSize->adjustSize();
                width = lblAutoSize->width();
                if (!qobject_cast<QLabel*>(w))
                    width += twipsX(350);
                w->resize(width, w->height());
            }
            if (previous)
                w->move(previous->x() + previous->width() + twipsX(GapTwips), w->y());
            previous = w;
        }
    }
}

void ReportScreen::applyDatePeriod(const QString& key)
{
    const DateRange range = DatePeriodRange(key, Today());
    if (!range.begin.isValid() || !dtpBegin || !dtpEnd)
        return;
    dtpBegin->setDate(range.begin);
    dtpEnd->setDate(range.end);
}

void ReportScreen::onToolbarKey(const QString& key)
{
    try {
        if (key == QLatin1String("Refresh"))
            runRefresh();
        else if (key == QLatin1String("FullScreen"))
            toggleFullScreen();
        else if (key == QLatin1String("Open"))
            runWithScreenDisabled([this] { cmdOpen(); });
        else if (key == QLatin1String("Save"))
            saveGrid();
        else if (key == QLatin1String("SaveCriteria"))
            askSaveCriteria();
        else if (key == QLatin1String("Print"))
            cmdPrint1();
        else if (key == QLatin1String("Help"))
            frmHelp::showHelp(this, windowTitle());
        else if (key == QLatin1String("Exit"))
            MDIActiveX::close(this);
        else
            toolbarAction(key);
    } catch (const std::exception&) {
        // A failing toolbar action leaves the screen as it was.
    }
}

QString ReportScreen::printHeader() const
{
    return PrintHeader(m_title, beginDate(), endDate());
}

QList<QPair<QDate, QDate>> ReportScreen::rangesToCheck() const
{
    if (!dtpBegin || !dtpEnd)
        return {};
    return {{dtpBegin->date(), dtpEnd->date()}};
}

void ReportScreen::preparePrint(Sheet* sheet) const
{
    QString header = printHeader();
    if (m_partial) {
        // The partial mark goes after the title, or on a line of its own when the header does
        // not carry the title as it is.
        const QString title = gridTitle();
        const qsizetype at = title.isEmpty() ? -1 : header.indexOf(title);
        if (at >= 0)
            header.insert(at + title.size(), Msg(QStringLiteral("Msg_Report_Partial")));
        else
            header += QStringLiteral("/f2/c") +
                      Msg(QStringLiteral("Msg_Report_Partial")).trimmed() + QStringLiteral("/n");
    }
    sheet->printSettings().header = header;
    sheet->printSettings().footer = PrintFooter();
}

void ReportScreen::cmdPrint1()
{
    printGrid(this);
}

void ReportScreen::toggleFullScreen()
{
    showGridFullScreen(this);
}

void ReportScreen::saveGrid()
{
    saveGridAs(this);
}

void ReportScreen::runWithScreenDisabled(const std::function<void()>& work)
{
    QCoreApplication::processEvents();
    setEnabled(false);
    try {
        work();
    } catch (...) {
        setEnabled(true);
        QCoreApplication::processEvents();
        throw;
    }
    setEnabled(true);
    QCoreApplication::processEvents();
}

bool ReportScreen::runRefresh()
{
    if (m_running)
        return false;
    m_lastError.clear();
    for (const auto& [begin, end] : rangesToCheck()) {
        if (end < begin) {
            m_lastError = Msg(QStringLiteral("Msg_Query_OutOfDate"));
            MsgBox(m_lastError, QMessageBox::Information, QMessageBox::Ok, this);
            if (m_spec.refusedRangeFocusesEnd && dtpEnd)
                dtpEnd->setFocus(Qt::OtherFocusReason);
            return false;
        }
    }
    const QString idleStatus = statusPanel1->text();
    m_running = true;
    m_refusal.reset();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    setStatusText(Msg(QStringLiteral("Msg_Report_Loading")));
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->show();
    QCoreApplication::processEvents();

    bool ok = true;
    auto asked = std::make_unique<SavedCriteria>();
    if (m_criteria)
        asked->values = m_criteria->snapshot(&asked->branchIds);
    setEnabled(false);
    try {
        cmdQuery1();
    } catch (const std::exception& e) {
        ok = false; // the screen returns to idle and says why
        m_lastError = QString::fromUtf8(e.what());
    } catch (...) {
        ok = false;
    }
    setEnabled(true);
    QCoreApplication::processEvents();

    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(100);
    ProgressBar1->hide();
    QApplication::restoreOverrideCursor();
    m_running = false;
    if (m_refusal) {
        // Nothing ran: the screen is idle as before, then the user is told why.
        const Refusal refusal = std::move(*m_refusal);
        m_refusal.reset();
        ok = false;
        m_lastError = refusal.message;
        setStatusText(idleStatus);
        MsgBox(refusal.message, QMessageBox::Information, QMessageBox::Ok, this);
        if (refusal.then)
            refusal.then();
    } else {
        m_shownCriteria = std::move(asked);
        setStatusText(m_lastError.isEmpty() ? Msg(QStringLiteral("Msg_Report_Finished"))
                                            : m_lastError);
    }
    emit refreshFinished(ok);
    if (m_closeWhenIdle) {
        m_closeWhenIdle = false;
        MDIActiveX::close(this);
    }
    return ok;
}

void ReportScreen::Refuse(const QWidget* from, const QString& message, std::function<void()> then)
{
    // The screen is found from any of its widgets, const ones included (criteria readers).
    ReportScreen* screen = nullptr;
    for (const QWidget* w = from; w && !screen; w = w->parentWidget())
        screen = const_cast<ReportScreen*>(qobject_cast<const ReportScreen*>(w));
    if (screen && screen->m_running) {
        if (!screen->m_refusal) // the first reason is the one the user is told
            screen->m_refusal = Refusal{message, std::move(then)};
        return;
    }
    MsgBox(message, QMessageBox::Information, QMessageBox::Ok,
           screen ? screen : const_cast<QWidget*>(from));
    if (then)
        then();
}

void ReportScreen::setStatusText(const QString& text)
{
    statusPanel1->setText(text);
}

void ReportScreen::setProgress(int current, int total)
{
    if (total <= 0)
        return; // a progress event with no total changes nothing
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(int(qint64(current) * 100 / total));
}

void ReportScreen::setRowsRead(qint64 records, qint64 total)
{
    if (!m_running)
        return;
    const QLocale locale(QLocale::English); // digits grouped by commas in every language
    QString text = Msg(QStringLiteral("Msg_Report_Loading")) + QLatin1Char(' ');
    if (total >= 0) {
        text += Msg(QStringLiteral("Msg_Report_RowsOf"))
                    .arg(locale.toString(records), locale.toString(total));
        ProgressBar1->setRange(0, 100);
        ProgressBar1->setValue(total > 0 ? int(std::min(records, total) * 100 / total) : 100);
    } else {
        text += Msg(QStringLiteral("Msg_Report_Rows")).arg(locale.toString(records));
        ProgressBar1->setRange(0, 0); // how much is left is not known: it shows work going on
    }
    setStatusText(text);
}

QString ReportScreen::shownTitle(const QString& title) const
{
    return m_partial ? title + Msg(QStringLiteral("Msg_Report_Partial")) : title;
}

void ReportScreen::setPartial(bool partial)
{
    m_partial = partial;
    // The mark is taken off and put back, so captions set meanwhile (a view's title) keep it right.
    const QString mark = Msg(QStringLiteral("Msg_Report_Partial"));
    auto marked = [&](QString text) {
        if (text.endsWith(mark))
            text.chop(mark.size());
        return partial ? text + mark : text;
    };
    setWindowTitle(marked(windowTitle()));
    lblBar->setText(marked(lblBar->text()));
}

bool ReportScreen::exportGrid(const QString& path)
{
    m_lastError.clear();
    return exportGridTo(path, &m_lastError);
}

bool ReportScreen::applyCriterion(const QString& name, const QString& value)
{
    m_lastError.clear();
    // "dtpBegin" and "dtpEnd" reach the range the date periods set, whatever its pickers'
    // names (the booking query's arrival range, dtpBegin_0..dtpEnd_0).
    QString target = name;
    if (name == QLatin1String("dtpBegin") && dtpBegin)
        target = dtpBegin->objectName();
    else if (name == QLatin1String("dtpEnd") && dtpEnd)
        target = dtpEnd->objectName();
    return SetCriterion(this, target, value, &m_lastError);
}

CriteriaValue ReportScreen::readCriteria()
{
    CriteriaValue criteria = m_criteria->read();
    if (!m_spec.branch.empty() && !m_criteria->branchCriterion()) {
        // No branch to choose: the user's own branches, every row when he may see every branch.
        BranchChoice& branch = criteria.common().branch;
        branch.privileged = LimitedBranchIds();
        const bool byName = std::any_of(m_spec.branch.begin(), m_spec.branch.end(),
                                        [](const BranchColumns& c) { return c.id.isEmpty(); });
        if (branch.privileged && byName)
            branch.privilegedNames = PrivilegedBranchNames();
    }
    applyKeyCriteria(criteria);
    completeCriteria(criteria);
    return criteria;
}

CriteriaValue ReportScreen::criteriaAsShown(QString* problem)
{
    CriteriaValue criteria = m_criteria->readAsShown(problem);
    applyKeyCriteria(criteria);
    completeCriteria(criteria);
    return criteria;
}

BranchScope ReportScreen::branchScope(const CriteriaValue& criteria) const
{
    return BranchScope(m_spec.branch, criteria.common().branch);
}

void ReportScreen::fillSavedList(const QString& current)
{
    cboSavedCriteria->clear();
    cboSavedCriteria->addItem(Msg(QStringLiteral("Msg_Criteria_Choose")));
    cboSavedCriteria->addItems(SavedCriteriaStore(hostContext().UserID, objectName()).names());
    cboSavedCriteria->setCurrentIndex(
        std::max(0, current.isEmpty() ? 0 : cboSavedCriteria->findText(current)));
}

void ReportScreen::askSaveCriteria()
{
    const SavedCriteriaStore store(hostContext().UserID, objectName());
    frmSaveCriteria dialog(store.names(), beginDate(), endDate(), Today(), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (store.find(dialog.name()) &&
        MsgBox(Msg(QStringLiteral("Msg_Criteria_Replace")).arg(dialog.name()),
               QMessageBox::Question, QMessageBox::Yes | QMessageBox::No, this) != QMessageBox::Yes)
        return;
    if (!saveCriteria(dialog.name(), dialog.period()))
        MsgBox(m_lastError, QMessageBox::Information, QMessageBox::Ok, this);
}

bool ReportScreen::saveCriteria(const QString& name, const QString& period)
{
    m_lastError.clear();
    SavedCriteria set;
    set.name = name.trimmed();
    if (set.name.isEmpty()) {
        m_lastError = Msg(QStringLiteral("Msg_Criteria_NoName"));
        return false;
    }
    if (!period.isEmpty()) {
        for (const QString& key : RelativePeriodKeys())
            if (key.compare(period.trimmed(), Qt::CaseInsensitive) == 0)
                set.period = key;
        if (set.period.isEmpty() || !dtpBegin || !dtpEnd) {
            m_lastError = Msg(QStringLiteral("Msg_Criteria_NoPeriod")).arg(period);
            return false;
        }
    }
    set.savedOn = Today();
    set.values = m_criteria->snapshot(&set.branchIds);
    if (set.isRelative())
        set.values.removeIf([this](const QPair<QString, QString>& v) {
            return v.first == dtpBegin->objectName() || v.first == dtpEnd->objectName();
        });
    QString why;
    if (!SavedCriteriaStore(hostContext().UserID, objectName()).save(set, &why)) {
        m_lastError = Msg(QStringLiteral("Msg_Criteria_CannotSave")).arg(why);
        return false;
    }
    fillSavedList(set.name);
    setStatusText(Msg(QStringLiteral("Msg_Criteria_SavedAs")).arg(set.name));
    return true;
}

void ReportScreen::applyCriteriaSet(const SavedCriteria& set, QStringList* skipped)
{
    BranchCriterion* branch = m_criteria->branchCriterion();
    const QString branchName = branch ? branch->combo()->objectName() : QString();
    const QDate today = Today();
    const qint64 shift = set.savedOn.isValid() ? set.savedOn.daysTo(today) : 0;
    const QString format = QStringLiteral("yyyy-MM-dd");
    for (auto [control, value] : set.values) {
        if (branch && control == branchName) {
            branch->applySaved(value, set.branchIds);
            continue;
        }
        QWidget* w = findChild<QWidget*>(control);
        if (!w) { // a criterion of another version of the screen
            *skipped << control;
            continue;
        }
        if (set.isRelative() && qobject_cast<QDateEdit*>(w)) {
            if (w == dtpBegin || w == dtpEnd)
                continue; // the period sets them
            value = QDate::fromString(value, format).addDays(shift).toString(format);
        }
        if (!SetCriterion(this, control, value))
            *skipped << control + QLatin1Char('=') + value;
    }
    if (set.isRelative() && dtpBegin && dtpEnd) {
        const DateRange range = DatePeriodRange(set.period, today);
        dtpBegin->setDate(range.begin);
        dtpEnd->setDate(range.end);
    }
}

bool ReportScreen::openSavedCriteria(const QString& name)
{
    m_lastError.clear();
    m_lastNotice.clear();
    const std::optional<SavedCriteria> found =
        SavedCriteriaStore(hostContext().UserID, objectName()).find(name);
    auto refuse = [this](const QString& reason) {
        m_lastError = reason;
        fillSavedList();
        Refuse(this, reason);
        return false;
    };
    if (!found)
        return refuse(Msg(QStringLiteral("Msg_Criteria_NotFound")).arg(name));
    const SavedCriteria& set = *found;
    // A branch the user may no longer see refuses the whole set, before anything is set.
    BranchCriterion* branch = m_criteria->branchCriterion();
    const QString branchName = branch ? branch->combo()->objectName() : QString();
    if (branch && set.has(branchName)) {
        const QString why = branch->refusalOfSaved(set.value(branchName), set.branchIds);
        if (!why.isEmpty())
            return refuse(why);
    }
    QStringList skipped;
    applyCriteriaSet(set, &skipped);
    fillSavedList(set.name);
    if (skipped.isEmpty()) {
        setStatusText(Msg(QStringLiteral("Msg_Criteria_Opened")).arg(set.name));
        return true;
    }
    m_lastNotice = Msg(QStringLiteral("Msg_Criteria_Skipped"))
                       .arg(set.name, skipped.join(QStringLiteral(", ")));
    setStatusText(m_lastNotice);
    MsgBox(m_lastNotice, QMessageBox::Information, QMessageBox::Ok, this);
    return true;
}

void ReportScreen::applyKeyCriteria(CriteriaValue& criteria) const
{
    for (const KeyCriterion& key : m_spec.keys) {
        const auto value = m_keyValues.constFind(QString::fromLatin1(key.name));
        if (value == m_keyValues.constEnd())
            continue;
        if (void* owner = m_spec.criteria.part(criteria, key.into.owner))
            key.into.set(owner, QVariant(*value));
    }
}

bool ReportScreen::drillDown(const QString& at)
{
    m_lastError.clear();
    const QStringList parts = at.split(QLatin1Char(','));
    bool rowOk = false, columnOk = parts.size() == 1;
    const int row = parts.value(0).trimmed().toInt(&rowOk);
    const int column = parts.size() > 1 ? parts.value(1).trimmed().toInt(&columnOk) : 0;
    if (!rowOk || !columnOk || parts.size() > 2) {
        m_lastError = QStringLiteral("--drill takes ROW or ROW,COLUMN: %1").arg(at);
        return false;
    }
    return drillTo(row, column);
}

bool ReportScreen::drillTo(int row, int column)
{
    Q_UNUSED(row);
    Q_UNUSED(column);
    m_lastError = Msg(QStringLiteral("Msg_Drill_None"));
    return false;
}

bool ReportScreen::openDrilled(const DrillSpec& drill, const QList<QPair<QString, QString>>& keys)
{
    // The criteria of the figures shown, but for the view options: the drilled report has its
    // own views.
    SavedCriteria set;
    if (m_shownCriteria)
        set = *m_shownCriteria;
    else
        set.values = m_criteria->snapshot(&set.branchIds);
    set.values.removeIf([](const QPair<QString, QString>& v) {
        return v.first.startsWith(QLatin1String("optQuery"));
    });
    QPointer<QWidget>& list = m_drilledLists[reinterpret_cast<quintptr>(drill.make)];
    auto* target = static_cast<ReportScreen*>(
        ScreenRegistry::own(list, [&drill]() -> QWidget* { return drill.make(); }));
    m_drilled = target;
    target->ShowMe();
    // Every criterion back to its start, then this screen's and the row's.
    target->m_criteria->load(target->languageTexts());
    target->m_keyValues.clear();
    target->m_criteria->setView(drill.view);
    QStringList skipped;
    target->applyCriteriaSet(set, &skipped); // criteria the drilled report does not have
    for (const auto& [name, value] : keys) {
        const bool isKey =
            std::any_of(target->m_spec.keys.begin(), target->m_spec.keys.end(),
                        [&](const KeyCriterion& k) { return name == QLatin1String(k.name); });
        QString why;
        if (isKey)
            target->m_keyValues.insert(name, value);
        else if (!SetCriterion(target, name, value, &why)) {
            m_lastError = why;
            return false;
        }
    }
    const bool ok = target->runRefresh();
    if (!ok)
        m_lastError = target->lastError();
    return ok;
}

BranchScope ReportScreen::userBranches(const BranchColumns& columns)
{
    BranchChoice branches;
    branches.privileged = LimitedBranchIds();
    if (branches.privileged && columns.id.isEmpty())
        branches.privilegedNames = PrivilegedBranchNames();
    return BranchScope({columns}, branches);
}

QString ReportScreen::PrintHeader(const QString& title, const QDate& begin, const QDate& end)
{
    const QString large = Msg(QStringLiteral("Msg_Report_LargeFont"));
    const QString small = Msg(QStringLiteral("Msg_Report_SmallFont"));
    return large + small + QStringLiteral("/f1/c") + title + QStringLiteral("/n/n") +
           QStringLiteral("/f2/c") + Msg(QStringLiteral("Msg_Report_Header_From")) +
           QLatin1Char(' ') + begin.toString(QStringLiteral("yyyy-MM-dd")) + QLatin1Char(' ') +
           Msg(QStringLiteral("Msg_Report_Header_To")) + QLatin1Char(' ') +
           end.toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral("/n");
}

QString ReportScreen::PrintFooter()
{
    return Msg(QStringLiteral("Msg_Report_LargeFont")) +
           Msg(QStringLiteral("Msg_Report_SmallFont")) + Msg(QStringLiteral("Msg_Report_Footer"));
}

void ReportScreen::keyPressEvent(QKeyEvent* event)
{
    if (isEnabled() && !m_running) {
        if (event->key() == Qt::Key_Escape) {
            MDIActiveX::close(this);
            return;
        }
        if (event->key() == Qt::Key_F1) {
            QAction* help = tlbMain->findChild<QAction*>(QStringLiteral("Help"));
            if (help && help->isVisible() && help->isEnabled()) {
                help->trigger();
                return;
            }
        }
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            runRefresh();
            return;
        }
    }
    QWidget::keyPressEvent(event);
}

void ReportScreen::closeEvent(QCloseEvent* event)
{
    if (m_running) {
        // The load stops first; the screen closes once the refresh is over.
        m_closeWhenIdle = true;
        stopLoad();
        event->ignore();
        return;
    }
    event->accept();
    MDIActiveX::unload(this);
}

void ReportScreen::resizeEvent(QResizeEvent* event)
{
    if (event)
        QWidget::resizeEvent(event);
    const int w = width();
    const int h = height();
    const int toolbarHeight = std::max(tlbMain->sizeHint().height(), tlbDate->sizeHint().height());
    tlbMain->setGeometry(0, 0, tlbMain->sizeHint().width(), toolbarHeight);
    tlbDate->setGeometry(tlbMain->width(), 0, tlbDate->sizeHint().width(), toolbarHeight);

    const int criteriaTop = toolbarHeight;
    const int criteriaHeight = twipsY(TitleStripTwips + m_criteria->heightTwips());
    picTop->setGeometry(0, criteriaTop, w, criteriaHeight);
    picBar->setGeometry(0, 0, w, twipsY(TitleStripTwips));
    lblBar->setGeometry(0, 0, w, twipsY(TitleStripTwips));
    const int listWidth = twipsX(2400);
    const int stripHeight = twipsY(TitleStripTwips);
    cboSavedCriteria->setGeometry(w - listWidth - twipsX(GapTwips), 1, listWidth, stripHeight - 2);
    lblSavedCriteria->adjustSize();
    lblSavedCriteria->setGeometry(cboSavedCriteria->x() - lblSavedCriteria->width() -
                                      twipsX(GapTwips),
                                  0, lblSavedCriteria->width(), stripHeight);

    const int bottomHeight = twipsY(BottomStripTwips);
    Picture1->setGeometry(0, h - bottomHeight, w, bottomHeight);
    if (m_body) {
        const int left = twipsX(BodyLeftTwips);
        const int top = criteriaTop + criteriaHeight;
        const int bodyWidth = w - 2 * left;
        const int bodyHeight = h - top - bottomHeight;
        if (bodyWidth > 0 && bodyHeight > 0)
            m_body->setGeometry(left, top, bodyWidth, bodyHeight);
    }
    StatusBar1->setGeometry(0, 0, std::max(0, w - twipsX(GapTwips)), bottomHeight);
    const int progressWidth = w - twipsX(ProgressLeftTwips) - twipsX(GapTwips);
    if (progressWidth >= 0)
        ProgressBar1->setGeometry(twipsX(ProgressLeftTwips), 2, progressWidth, bottomHeight - 4);
}
