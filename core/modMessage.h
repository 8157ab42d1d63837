#pragma once

#include <QMessageBox>
#include <QString>

class QWidget;

// The message table: the shared Msg_* texts, loaded from the language file at host binding.
// Before loading, and for keys the file lacks, each text is its built-in default.
void LoadMessageTable();
QString Msg(const QString& key);

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
