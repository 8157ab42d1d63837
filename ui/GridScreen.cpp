#include "ui/GridScreen.h"

#include "sheet/SheetOutput.h"
#include "ui/frmPrintSpread.h"
#include "ui/frmViewSpread.h"

void GridScreen::preparePrint(Sheet*) const {}

void GridScreen::printGrid(QWidget* parent)
{
    Sheet* sheet = grid();
    if (!sheet)
        return;
    preparePrint(sheet);
    auto* dialog = new frmPrintSpread(parent);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->ShowMe(sheet, gridCaption());
}

void GridScreen::showGridFullScreen(QWidget* parent)
{
    Sheet* sheet = grid();
    if (!sheet)
        return;
    auto* viewer = new frmViewSpread(parent);
    viewer->setAttribute(Qt::WA_DeleteOnClose);
    viewer->ShowSpread(sheet, gridCaption());
}

void GridScreen::saveGridAs(QWidget* parent)
{
    if (const Sheet* sheet = grid())
        frmViewSpread::saveWithDialog(*sheet, gridCaption(), parent);
}

bool GridScreen::exportGridTo(const QString& path, QString* error)
{
    Sheet* sheet = grid();
    if (!sheet) {
        if (error)
            *error = QStringLiteral("the screen has no grid");
        return false;
    }
    preparePrint(sheet); // a printed format (PDF) carries the report's header and footer
    return SheetOutput::save(*sheet, path, gridCaption(), error);
}
