#pragma once

#include "ui/QueryReportScreen.h"

// The raw material consumption report: the standard consumption the recipes of the dishes sold
// call for against the consumption recorded, per material, per material category, and per
// material with one column pair per branch (every branch that ever recorded consumption, in
// branch order).
class frmBomReport : public QueryReportScreen
{
    Q_OBJECT
public:
    explicit frmBomReport(QWidget* parent = nullptr);

protected:
    void addColumns(int view, QueryColumns& columns) override;
    QString printHeader() const override;
    std::vector<LanguageEntry> ownTexts() const override;
};
