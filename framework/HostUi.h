#pragma once

#include <QMessageBox>
#include <QString>

class QMdiArea;
class QWidget;

// What the host application offers the plug-in's windows: the MDI area screens embed in, and
// message boxes that a headless run answers by itself.
namespace HostUi {

// Headless runs (scripts, tests): no window is shown to a user; message boxes go to stderr as
// "title: text" and are answered with their default button, except that a confirmation (a box
// that offers No or Cancel) is declined unless the run was told to say yes (vtxhost --yes).
void setHeadless(bool headless);
bool isHeadless();
// Whether a headless run confirms what it is asked and may change the database (--yes).
void setHeadlessYes(bool yes);
bool headlessYes();
// Whether the database may be changed now: always with a user at the window, in a headless run
// only with --yes.
bool mayWrite();
// The dynamic property, set true on a button that changes the database, by which a script's
// request to press it is refused in a headless run without --yes.
inline constexpr char WritesDatabase[] = "WritesDatabase";
// The text of the last message box a headless run answered (empty before the first).
QString lastHeadlessMessage();

// The host's MDI area; null when there is none (screens then show as top-level windows).
void setMdiArea(QMdiArea* area);
QMdiArea* mdiArea();

// `text` as it is written to a terminal: control characters other than line breaks and tabs
// (an escape sequence in a bill's text, say) written as \xHH or \uHHHH, so that nothing the
// database or a file holds can drive the terminal or hide what precedes it.
QString terminalText(const QString& text);

QMessageBox::StandardButton
messageBox(QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text,
           QMessageBox::StandardButtons buttons = QMessageBox::Ok,
           QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);

} // namespace HostUi
