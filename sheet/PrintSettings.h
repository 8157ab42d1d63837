#pragma once

#include <QString>

// How a sheet prints: the print options a user sets and the screens preset.
struct PrintSettings
{
    enum class PrintType
    {
        All = 0,
        CellRange = 1,
        CurrentPage = 2,
        PageRange = 3
    };
    enum class Scaling
    {
        None = 0,
        SmartPrint = 1,
        Zoom = 2,
        BestFit = 3
    };
    enum class Orientation
    {
        Portrait = 1,
        Landscape = 2
    };

    PrintType printType = PrintType::All;
    int pageStart = 1;
    int pageEnd = 1;
    // Cells printed for PrintType::CellRange (1-based, inclusive).
    int blockCol = 1, blockRow = 1, blockCol2 = 1, blockRow2 = 1;

    QString header; // header and footer in the print code language ("/fn", "/c", "/p", ...)
    QString footer;

    bool columnHeaders = true;
    bool rowHeaders = false;
    bool gridLines = true;
    bool border = true;
    bool dataCellsOnly = true; // print only the used area
    bool color = true;
    bool shadows = false;
    bool centerHorizontal = true;
    bool centerVertical = false;

    Orientation orientation = Orientation::Portrait;
    int marginTop = 720; // twips
    int marginBottom = 720;
    int marginLeft = 720;
    int marginRight = 720;

    Scaling scaling = Scaling::SmartPrint;
    double zoomFactor = 1.0;
    int bestFitPagesWide = 1;
    int bestFitPagesTall = 1;

    bool operator==(const PrintSettings&) const = default;
};
