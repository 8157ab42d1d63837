#include "ui/MealPeriodBoxes.h"

#include "core/HostContext.h"
#include "db/SqlText.h"
#include "framework/DataList.h"

#include <QCheckBox>
#include <QFontMetrics>

MealPeriodBoxes::MealPeriodBoxes(QCheckBox* master) : QObject(master), m_master(master)
{
    connect(m_master, &QCheckBox::clicked, this, [this](bool on) {
        for (QCheckBox* box : std::as_const(m_boxes))
            box->setChecked(on);
    });
}

void MealPeriodBoxes::load(const Place& place, int left)
{
    m_place = place;
    m_left = left;
    qDeleteAll(m_boxes);
    m_boxes.clear();
    DataList periods(DataList::MealPeriods, hostContext().connection());
    periods.initialise(1, 1);
    periods.load();
    m_loadError = periods.lastError();
    QWidget* bar = m_master->parentWidget();
    for (int i = 1; i <= periods.Count(); ++i) {
        auto* box = new QCheckBox(periods.item(i).Name, bar);
        box->setObjectName(QStringLiteral("chkPeriod_%1").arg(i));
        box->setChecked(true);
        connect(box, &QCheckBox::clicked, this, &MealPeriodBoxes::periodClicked);
        // Wide enough for the name: the box itself and its caption, in twips at 96 dpi.
        const int width = (QFontMetrics(box->font()).horizontalAdvance(box->text()) + 28) * 15;
        place(box, left, width);
        left += width + 60;
        m_boxes.append(box);
    }
    m_master->setChecked(true);
}

void MealPeriodBoxes::reload()
{
    if (m_place)
        load(m_place, m_left);
}

QStringList MealPeriodBoxes::ticked() const
{
    QStringList names;
    for (const QCheckBox* box : m_boxes)
        if (box->isChecked())
            names << box->text();
    return names;
}

void MealPeriodBoxes::periodClicked()
{
    bool any = false;
    for (const QCheckBox* box : std::as_const(m_boxes))
        any = any || box->isChecked();
    m_master->setChecked(any);
}
