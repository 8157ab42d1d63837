#pragma once

#include "ui/GridScreen.h"
#include "ui/MDIActiveX.h"

#include <QDate>
#include <QHash>
#include <QPointer>
#include <QSize>
#include <QWidget>

#include "core/LanguageSection.h"
#include "query/BranchScope.h"
#include "query/CriteriaValue.h"

#include <functional>
#include <memory>
#include <optional>

class CriteriaBar;
class QAction;
class QComboBox;
class QDateEdit;
class QLabel;
class QProgressBar;
class QStatusBar;
class QToolBar;
class Sheet;
class LanguageSection;
struct SavedCriteria;
struct DrillSpec;
struct ScreenSpec;

// What every report screen shares: the criteria bar `picTop` with its title strip, the toolbars
// `tlbMain` and `tlbDate`, the bottom strip with `StatusBar1` and `ProgressBar1`, date periods,
// the refresh sequence, keys, resize rules, print header and the English re-flow.
//
// A screen is described once (ScreenSpec): the base builds its criteria bar from that
// description (CriteriaBar: placement, language section, English re-flow, criteria by name),
// and the screen adds its body (a query control, QueryReportScreen, or a grid of its own) and
// its query procedure. Its SQL comes from a pure function of a plain criteria value, so it is
// testable on its own.
//
// Every screen offers the same grid contract: grid() is the grid shown, and "Print",
// "FullScreen" and "Save" act on it through the grid windows.
//
// Scripting (headless runs and tests) uses slots found by name through QMetaObject:
// applyCriterion(name, value), runRefresh(), exportGrid(path) and lastError().
class ReportScreen : public QWidget, public GridScreen
{
    Q_OBJECT
public:
    // `spec` describes the screen and must outlive it (a screen's static description).
    explicit ReportScreen(const ScreenSpec& spec, QWidget* parent = nullptr);
    ~ReportScreen() override;

    // Embeds the screen in the host window at its initial size and shows it, loading it first.
    void ShowMe();

    QString title() const;
    QDate beginDate() const;
    QDate endDate() const;
    bool isRunning() const { return m_running; }
    // The latest date a date picker takes: a range's end is bound as the day after it.
    static const QDate LastDate;

    // The grid shown (`mSpread1`), null before it exists.
    Sheet* grid() const override { return nullptr; }
    QString gridCaption() const override { return shownTitle(title()); }
    // The title of the grid shown, as its print header carries it.
    virtual QString gridTitle() const { return title(); }
    // The screen's section of the language file, derived from its description.
    const LanguageSection* languageTexts() const;
    // One of the screen's own texts (its description's `texts`, "Default" attribute).
    QString ownText(const char* key) const;
    // The criteria, read by name.
    const CriteriaBar& criteria() const { return *m_criteria; }
    // The screen's description.
    const ScreenSpec& spec() const { return m_spec; }

    // The print header and footer for a report title and date range.
    static QString PrintHeader(const QString& title, const QDate& begin, const QDate& end);
    static QString PrintFooter();

    // A refusal to run (a criterion that leaves nothing to query): the user is told `message`
    // in a message box, then `then` runs (opening the branch picker, say). During a refresh of
    // the screen holding `from`, both wait until the screen is idle and usable again, and the
    // refresh ends as refused with nothing run; otherwise they happen now.
    static void Refuse(const QWidget* from, const QString& message,
                       std::function<void()> then = {});

public slots:
    // Sets the criteria control named `name` from text: a date picker from YYYY-MM-DD, a check
    // box or option button from 0 or 1, a combo box by item text or "#n", a text box from text.
    // "dtpBegin" and "dtpEnd" name the range the date periods set, whatever its pickers' names.
    // False for an unknown control or a value the control cannot take.
    bool applyCriterion(const QString& name, const QString& value);
    // The refresh sequence; false when it was refused (reversed dates) or the query failed.
    bool runRefresh();
    // Writes the screen's grid to a file chosen by extension; false with nothing written on
    // failure.
    virtual bool exportGrid(const QString& path);
    // Why the last of the three above failed (a database error, a file error, a refusal).
    QString lastError() const { return m_lastError; }
    // Sets both date pickers from a date period key of the date toolbar.
    void applyDatePeriod(const QString& key);

    // -- saved criteria: named sets of the criteria, kept per user in his settings --------------
    // Keeps the criteria as they stand under `name` (replacing a set of that name), with the
    // dates fixed or, given a period key of RelativePeriodKeys(), as that period. False with
    // the reason in lastError().
    bool saveCriteria(const QString& name, const QString& period);
    // Sets the criteria kept under `name`, the dates of a relative set worked out for today. A
    // set naming a branch the user may no longer see is refused whole, with the reason (told
    // to the user, and in lastError()); criteria the screen no longer has, or values it no
    // longer takes, are skipped and named in lastNotice(), the rest set.
    bool openSavedCriteria(const QString& name);
    // What the last openSavedCriteria skipped; empty when it set everything.
    QString lastNotice() const { return m_lastNotice; }

    // -- drill-down -----------------------------------------------------------------------------
    // Opens the bills or item lines behind row ROW (from 1, the totals row included) of the grid
    // shown, at column COLUMN when the figure depends on it: "ROW" or "ROW,COLUMN". The list
    // opened is refreshed; false with the reason in lastError() when the view leads nowhere or
    // the list could not be made.
    bool drillDown(const QString& at);
    // The screen the last drill-down opened (null before one).
    QWidget* drilledScreen() const { return m_drilled; }

signals:
    void refreshFinished(bool ok);

protected:
    // -- the screen's own procedures ------------------------------------------------------------
    virtual void cmdQuery1() = 0;    // build and run the query; throws on failure or refusal
    virtual void cmdSetColumn1() {}  // define the grid's columns
    virtual void cmdPrint1();        // print the grid with the report header and footer
    virtual void cmdOpen() {}        // open the detail of the current row
    virtual void toggleFullScreen(); // "FullScreen": the grid in the full-screen window
    virtual void saveGrid();         // "Save": the grid to a file the user chooses
    // The header printed above the grid: the title and the date range by default.
    virtual QString printHeader() const;
    // The date ranges (begin, end) the refresh refuses to run when one ends before it begins:
    // dtpBegin..dtpEnd by default; a screen with other ranges, or ranges it may leave out,
    // gives those it will query.
    virtual QList<QPair<QDate, QDate>> rangesToCheck() const;
    // The print header and the footer (a screen whose sheet carries its own titles leaves
    // them alone).
    void preparePrint(Sheet* sheet) const override;
    // Extra load steps after the common ones (criteria, column setup).
    virtual void formLoad() {}
    // Stops a load in progress (the screen is being closed); the refresh then ends as usual.
    virtual void stopLoad() {}
    // The drill-down of the grid shown at `row` and `column`; false (lastError set) when there is
    // none. QueryReportScreen leads from its views' DrillSpec.
    virtual bool drillTo(int row, int column);
    // Opens a new or the last drilled screen with `drill`'s report and view, this screen's
    // criteria it shares and `keys` (criterion name, value), and refreshes it.
    bool openDrilled(const DrillSpec& drill, const QList<QPair<QString, QString>>& keys);
    // Other toolbar keys a screen adds ("Prev", "Charting", ...).
    virtual void toolbarAction(const QString& key) { Q_UNUSED(key); }
    // Fills a list criterion of the screen's own (ListSource::Screen) after its "(全部)", on
    // its first drop-down.
    virtual void fillList(const QString& name, QComboBox* combo)
    {
        Q_UNUSED(name);
        Q_UNUSED(combo);
    }
    // Texts the screen adds to its language section besides those of its description.
    virtual std::vector<LanguageEntry> ownTexts() const { return {}; }

    // -- the report's criteria ------------------------------------------------------------------
    // The criteria read from the bar into the report's type (its declaration's CriteriaOf), then
    // completed by the screen. Throws std::runtime_error with the reason, after telling the user,
    // when they leave nothing to query (a refused branch choice).
    CriteriaValue readCriteria();
    // The same as the bar shows them, telling nobody: for handlers and lists that follow a
    // criterion. A criterion that leaves nothing to query keeps its default (`problem`: why).
    CriteriaValue criteriaAsShown(QString* problem = nullptr);
    // Values of the criteria that the bar does not hold (a text of the language file, an answer
    // of the database), set on a freshly read value.
    virtual void completeCriteria(CriteriaValue& criteria) { Q_UNUSED(criteria); }
    // The branch scope of the criteria: the columns the screen declares and the branch choice
    // (on a screen with branch columns but no branch criterion: every branch the user may see,
    // no condition when he may see every branch of the branch list).
    BranchScope branchScope(const CriteriaValue& criteria) const;
    // The branches the user may see, over `columns` that a statement of the screen other than
    // its report's reads (a list of places): no condition when he may see every branch. Throws
    // when his privileges cannot be read.
    static BranchScope userBranches(const BranchColumns& columns);

    // -- building the screen --------------------------------------------------------------------
    // Runs the load sequence now unless it ran (ShowMe and the first show run it otherwise).
    void loadScreen();
    // A title set after load (a screen whose title depends on how it was opened): the title
    // strip, the window caption and the print header.
    void setTitle(const QString& title);
    // Places a widget on the criteria bar: position and size in twips.
    void place(QWidget* w, int left, int top, int width, int height);
    void setBody(QWidget* body); // the query control or grid below the criteria bar
    QAction* addToolbarKey(const QString& key, const QString& caption);
    void setStatusText(const QString& text);
    void setLastError(const QString& error) { m_lastError = error; }
    void setProgress(int current, int total);
    // Records read so far by a load, of `total` when that is known (else -1): the status line
    // counts them and the progress bar shows the true fraction, or only that work goes on.
    void setRowsRead(qint64 records, qint64 total);
    // Marks the report shown as partial (a stopped load) in the window caption and the title
    // strip, or as whole again.
    void setPartial(bool partial);
    bool isPartial() const { return m_partial; }
    // `title` with the partial mark while the report shown is partial.
    QString shownTitle(const QString& title) const;
    void runWithScreenDisabled(const std::function<void()>& work);
    int twipsX(int twips) const;
    int twipsY(int twips) const;

    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

    // The anatomy every screen has.
    QWidget* picTop = nullptr;
    QWidget* picBar = nullptr;
    QLabel* lblBar = nullptr;
    QDateEdit* dtpBegin = nullptr; // null on screens without a date range
    QDateEdit* dtpEnd = nullptr;
    QLabel* lblAutoSize = nullptr;
    QToolBar* tlbMain = nullptr;
    QToolBar* tlbDate = nullptr;
    QWidget* Picture1 = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    QLabel* statusPanel1 = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    MDIActiveX MDIActiveX1;
    const ScreenSpec& m_spec;
    CriteriaBar* m_criteria = nullptr;

private:
    void formLoadCommon();
    void translateCaptions();
    void applyEnglishLayout();
    void onToolbarKey(const QString& key);
    void fillSavedList(const QString& current = QString());
    // Sets the criteria of `set` that the screen has; the others, and values its controls do
    // not take, are added to *skipped. A relative set's dates are worked out for today.
    void applyCriteriaSet(const SavedCriteria& set, QStringList* skipped);
    // The key criteria of the declaration set on a freshly read value.
    void applyKeyCriteria(CriteriaValue& criteria) const;
    void askSaveCriteria();

    struct Refusal
    {
        QString message;
        std::function<void()> then;
    };

    QString m_title;
    QString m_lastError;
    QString m_lastNotice;
    QHash<QString, QString> m_keyValues; // key criteria set by a drill-down
    QPointer<QWidget> m_drilled;         // the list the last drill-down opened
    // The criteria of the figures shown (those of the last refresh that ran): a drill-down opens
    // the bills behind them even when a control has changed since.
    std::unique_ptr<SavedCriteria> m_shownCriteria;
    // One list window per report drilled into (a sheet leads to several), by its DrillSpec::make.
    QHash<quintptr, QPointer<QWidget>> m_drilledLists;
    QLabel* lblSavedCriteria = nullptr;
    QComboBox* cboSavedCriteria = nullptr;
    std::optional<Refusal> m_refusal; // told once the refresh that met it is over
    QSize m_sizeTwips;
    mutable std::unique_ptr<LanguageSection> m_texts;
    QWidget* m_body = nullptr;
    bool m_loaded = false;
    bool m_running = false;
    bool m_closeWhenIdle = false; // closed while running: unloads when the refresh is over
    bool m_partial = false;
    int m_lastProgressWidth = -1;
};
