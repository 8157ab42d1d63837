#pragma once

#include <QList>
#include <QMessageBox>
#include <QPair>
#include <QString>

class QToolBar;
class QWidget;

// The message table: the shared Msg_* texts (section "Main", attribute "Default" of the language
// file), loaded at host binding. Before loading, and for keys the file lacks, each text is its
// built-in default.
//
// Language setting: ~/.config/Valtrix/Valtrix.ini, [Language] Language=0|1|2|3 (default,
// simplified Chinese, traditional Chinese, English); see cLanguage for the file it selects.

// Reads the language code from the settings store, (re)creates the shared cLanguage object in
// the host context, loads the language file and fills the message table.
void LoadMessageTable();
// The language code as stored: leading number of the text, halves rounded to even; 0 by default.
int ReadLanguageSetting();

// A message of the table; empty for a key that is not in it.
QString Msg(const QString& key);
// The table in its order: key and built-in default.
const QList<QPair<QString, QString>>& MessageTableDefaults();

// A message box titled Msg_Title; in headless runs it is written to stderr and answered with
// its default button.
QMessageBox::StandardButton MsgBox(const QString& text,
                                   QMessageBox::Icon icon = QMessageBox::Information,
                                   QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                   QWidget* parent = nullptr);

// A text of section "Main" that is not in the message table (for example the file filters of
// the grid window): the language file's text, or `defaultText` when the file lacks it.
QString MsgText(const QString& key, const QString& defaultText);

// One of three fixed texts by the language code: traditional Chinese for 2, English for 3,
// simplified Chinese otherwise.
QString LanguageText(const QString& textGB, const QString& textBig, const QString& textEnglish);

// Screen translation, under the Section last set on the shared cLanguage object.
//
// TranslateCaption: the control's caption := attribute "Caption" of the element named after the
// control's objectName(), its current caption as default. Captions are the text of a QLabel or
// QAbstractButton (push button, check box, option button) and the title of a QGroupBox; any
// other widget's caption is its window title. A carriage return in a text is shown as a line
// break.
void TranslateCaption(QWidget* control);

// TranslateToolbar: a toolbar button is a QAction whose objectName() is the button key
// ("Refresh", "Print", ...); its drop-down entries are the actions of the QMenu of the action
// (QAction::menu()) or of its QToolButton, keyed by their objectName() ("Today",
// "oc2dTypePie", ...). Each button loses its tooltip; keys are compared without regard to case
// with the button and menu keys of the message table; others keep their text.
void TranslateToolbar(QToolBar* toolbar);

// TranslateQueryControl: `control` must implement IQueryItems (otherwise nothing happens). With
// Section := the screen's objectName(): the title := attribute "Title" of the element named
// after the control's objectName(); each item (and sub-item) whose field text is "field|key"
// gets back the field text "field" and the caption := attribute `key` of the same element.
void TranslateQueryControl(QWidget* screen, QWidget* control);
