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
