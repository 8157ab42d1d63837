#pragma once

#include "screens/MDIActiveX.h"

#include <QDate>
#include <QSize>
#include <QWidget>

#include <functional>

class QCheckBox;
class QDateEdit;
class QLabel;
class QProgressBar;
class QStatusBar;
class QToolBar;
class QToolButton;
class QAction;
class QPushButton;
class Sheet;
class LanguageSection;

// What every report screen shares: the criteria bar `picTop` with its title strip, the toolbars
// `tlbMain` and `tlbDate`, the bottom strip with `StatusBar1` and `ProgressBar1`, date periods,
// the refresh sequence, keys, resize rules, print header and the English re-flow.
//
// A screen derives from it, places its criteria controls on `picTop` (positions in twips),
// sets its body widget (a query control or its own grid), and implements the query procedure.
// Its SQL comes from a pure function of a plain criteria value, so it is testable on its own.
//
// Scripting (headless runs and tests) uses three slots found by name through QMetaObject:
// applyCriterion(name, value), runRefresh() and exportGrid(path).
class ReportScreen : public QWidget
{
    Q_OBJECT
public:
    // `name` is the screen's class name (its language-file section); `sizeTwips` its initial size.
    ReportScreen(const QString& name, const QString& caption, const QString& title, QSize sizeTwips,
                 QWidget* parent = nullptr);
    ~ReportScreen() override;

    // Embeds the screen in the host window at its initial size and shows it, loading it first.
    void ShowMe();

    QString title() const;
    QDate beginDate() const;
    QDate endDate() const;
    bool isRunning() const { return m_running; }
    // The latest date a date picker takes: a range's end is bound as the day after it.
    static const QDate LastDate;

    // The print header and footer for a report title and date range.
    static QString PrintHeader(const QString& title, const QDate& begin, const QDate& end);
    static QString PrintFooter();

public slots:
    // Sets the criteria control named `name` from text: a date picker from YYYY-MM-DD, a check
    // box or option button from 0 or 1, a combo box by item text or "#n", a text box from text.
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

signals:
    void refreshFinished(bool ok);

protected:
    // -- the screen's own procedures ------------------------------------------------------------
    virtual void cmdQuery1() = 0;    // build and run the query; throws on failure
    virtual void cmdSetColumn1() {}  // define the grid's columns
    virtual void cmdPrint1();        // print the grid with the report header and footer
    virtual void cmdOpen() {}        // open the detail of the current row
    virtual void toggleFullScreen(); // "FullScreen"
    virtual void saveGrid();         // "Save"
    virtual Sheet* grid() const { return nullptr; } // the grid shown (`mSpread1`)
    // Extra load steps after the common ones (combos, column setup).
    virtual void formLoad() {}
    // The criteria rows for the English re-flow, each a row of controls in order.
    virtual QList<QList<QWidget*>> englishLayoutRows() const { return {}; }
    // The screen's texts in the language file (its section); captions, labels and the screen's
    // own messages are declared there.
    virtual const LanguageSection* languageTexts() const { return nullptr; }
    // Other toolbar keys a screen adds ("Prev", "Charting", ...).
    virtual void toolbarAction(const QString& key) { Q_UNUSED(key); }

    // -- building the screen --------------------------------------------------------------------
    // Places a widget on the criteria bar: position and size in twips.
    void place(QWidget* w, int left, int top, int width, int height);
    // Creates a named criteria control on the criteria bar and places it (one row high).
    static constexpr int CriteriaRowHeight = 300;
    template <class T> T* addControl(const char* name, int left, int top, int width)
    {
        auto* w = new T(picTop);
        w->setObjectName(QString::fromLatin1(name));
        place(w, left, top, width, CriteriaRowHeight);
        return w;
    }
    QLabel* addLabel(const char* name, const char* caption, int left, int top, int width);
    QCheckBox* addCheck(const char* name, const char* caption, int left, int top, int width);
    QPushButton* addButton(const char* name, const char* caption, int left, int top, int width);
    void setCriteriaHeight(int twips);
    void setBody(QWidget* body); // the query control or grid below the criteria bar
    QAction* addToolbarKey(const QString& key, const QString& caption);
    void setStatusText(const QString& text);
    void setProgress(int current, int total);
    void runWithScreenDisabled(const std::function<void()>& work);
    int twipsX(int twips) const;
    int twipsY(int twips) const;

    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

    // The anatomy every screen has.
    QWidget* picTop = nullptr;
    QWidget* picBar = nullptr;
    QLabel* lblBar = nullptr;
    QLabel* lblBegin = nullptr;
    QLabel* lblEnd = nullptr;
    QDateEdit* dtpBegin = nullptr;
    QDateEdit* dtpEnd = nullptr;
    QCheckBox* chkUseTrueData = nullptr;
    QLabel* lblUseTrueData = nullptr;
    QCheckBox* chkSaving = nullptr;
    QLabel* lblSaving = nullptr;
    QLabel* lblAutoSize = nullptr;
    QToolBar* tlbMain = nullptr;
    QToolBar* tlbDate = nullptr;
    QWidget* Picture1 = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    QLabel* statusPanel1 = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    MDIActiveX MDIActiveX1;

private:
    void formLoadCommon();
    void translateCaptions();
    void applyEnglishLayout();
    void onToolbarKey(const QString& key);
    bool eventFilter(QObject* watched, QEvent* event) override;

    QString m_title;
    QString m_lastError;
    QSize m_sizeTwips;
    int m_criteriaHeight = 1200;
    QWidget* m_body = nullptr;
    bool m_loaded = false;
    bool m_running = false;
    int m_lastProgressWidth = -1;
};
