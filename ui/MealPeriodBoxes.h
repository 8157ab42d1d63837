#pragma once

#include "query/StatementFragments.h"

#include <QList>
#include <QObject>
#include <QString>

#include <functional>

class QCheckBox;
class QWidget;

// The meal-period boxes of a criteria bar: box 0 (chkPeriod_0, the master box, captioned by
// the screen) and one box per meal period of the host framework's list (chkPeriod_1 ...,
// captioned with the period's name), all ticked when they are made. Clicking the master box
// gives every period box its state; clicking a period box ticks the master box when any period
// box is ticked and clears it otherwise.
class MealPeriodBoxes : public QObject
{
    Q_OBJECT
public:
    using Place = std::function<void(QWidget*, int left, int width)>;

    explicit MealPeriodBoxes(QCheckBox* master);

    // (Re)makes the period boxes from the meal-period list, placed one after another. When the
    // list cannot be read there are no boxes and loadError() says why.
    void load(const Place& place, int left);
    // Makes the boxes again where the last load placed them: after a load that failed.
    void reload();
    const QString& loadError() const { return m_loadError; }

    QCheckBox* master() const { return m_master; }
    const QList<QCheckBox*>& boxes() const { return m_boxes; }
    // The names of the ticked periods, in list order.
    QStringList ticked() const;

private:
    void periodClicked();

    QCheckBox* m_master;
    QList<QCheckBox*> m_boxes;
    Place m_place;
    int m_left = 0;
    QString m_loadError;
};
