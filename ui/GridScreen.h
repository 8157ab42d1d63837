#pragma once

#include <QString>

class QWidget;
class Sheet;

// What every screen offers on the grid it shows, the bill dialogs included: the grid itself
// (for scripts, exports and benchmarks, without knowing the screen's class) and the grid
// windows over it, "Print", "FullScreen" and "Save", implemented here once.
class GridScreen
{
public:
    virtual ~GridScreen() = default;

    // The grid shown; null when the screen has none yet.
    virtual Sheet* grid() const = 0;
    // The caption of the grid windows and the name of a saved file.
    virtual QString gridCaption() const = 0;

    // The print options of the grid (then printed or previewed from there).
    void printGrid(QWidget* parent);
    // The grid copied into the full-screen window.
    void showGridFullScreen(QWidget* parent);
    // The grid saved to a file the user chooses (Excel, HTML, report file, text, XML).
    void saveGridAs(QWidget* parent);
    // The grid written to `path`, the format by its extension; false with the reason.
    bool exportGridTo(const QString& path, QString* error);

protected:
    // Gives the grid its print header and footer before it is printed or exported.
    virtual void preparePrint(Sheet* sheet) const;
};
