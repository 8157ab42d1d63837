#pragma once

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class LanguageSection;

// The help text window: a title and the standard operating instruction, translated through
// section "frmHelp". Modal; OK and Esc close it. It opens where it was last closed (settings
// store ~/.config/Valtrix/vtxQueryApp.ini, [frmHelp] Form_Left / Form_Top in twips, 1000 each by
// default).
class frmHelp : public QDialog
{
    Q_OBJECT
public:
    explicit frmHelp(QWidget* parent = nullptr);

    // A non-empty title replaces lblTitle's text, a non-empty text the instruction; then the
    // window is shown modally unless it is already visible (in headless runs it is not shown).
    void ShowMe(const QString& title = QString(), const QString& text = QString());

    // What a screen's Help button does: a new window showing the screen's caption as title.
    static void showHelp(QWidget* parent, const QString& title);

    static const LanguageSection& texts();

    void done(int result) override;

private:
    QLabel* lblTitle;
    QPlainTextEdit* txtHelp;
    QPushButton* cmdOK;
};
