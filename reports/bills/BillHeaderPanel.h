#pragma once

#include <QWidget>

class Bill;
class QGridLayout;
class QLabel;
class QLineEdit;

// The bill header shared by the bill detail and bill audit windows: read-only text boxes
// (txtBillID, txtTableFullName, ... txtSumPaid) under their labels. The windows translate the
// labels; the panel formats the values.
class BillHeaderPanel : public QWidget
{
    Q_OBJECT
public:
    explicit BillHeaderPanel(QWidget* parent = nullptr);

    // Fills every box from a loaded bill; the bill number box's tag becomes the bare number.
    void fill(const Bill& bill);
    void clear();
    // The tag of txtBillID: the bill number every later query reads.
    QString billTag() const;
    // The text of one box, by its name ("txtSumPaid").
    QString fieldText(const QString& name) const;
    // A free cell at the end of the last row, for a window's own button.
    void addTrailingWidget(QWidget* widget);

private:
    QLineEdit* addField(const char* name, int row, int column, const char* label,
                        const char* labelName, int span = 1);
    QLineEdit* box(const char* name) const;

    QGridLayout* m_layout = nullptr;
};
