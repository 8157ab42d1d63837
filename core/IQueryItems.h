#pragma once

#include <QString>

// What the language file needs from a query control (ctlQuery): its title and its tree of
// column items. The control (a QWidget whose objectName() is "ctlQuery1" ...) implements
// IQueryItems; TranslateQueryControl (modMessage.h) finds it by dynamic_cast.

// One column item: its field text ("field", "expression|key" or "|key" for a header-only
// column), its caption (the column header) and its sub-items (the columns under a header-only
// column).
class IQueryItem
{
public:
    virtual ~IQueryItem() = default;
    virtual QString fieldText() const = 0;
    virtual void setFieldText(const QString& text) = 0;
    virtual QString caption() const = 0;
    virtual void setCaption(const QString& caption) = 0;
    virtual int subItemCount() const = 0;
    virtual IQueryItem* subItem(int index) = 0; // 0-based; null when out of range
};

class IQueryItems
{
public:
    virtual ~IQueryItems() = default;
    virtual QString title() const = 0;
    virtual void setTitle(const QString& title) = 0;
    virtual int queryItemCount() const = 0;
    virtual IQueryItem* queryItem(int index) = 0; // 0-based; null when out of range
};
