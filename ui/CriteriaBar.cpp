#include "ui/CriteriaBar.h"

#include "core/HostContext.h"
#include "core/modMessage.h"
#include "core/mod_ADO.h"
#include "db/SqlText.h"
#include "query/DatePeriod.h"
#include "ui/BranchCriterion.h"
#include "ui/DropDownComboBox.h"
#include "ui/MealPeriodBoxes.h"
#include "ui/ReportScreen.h"
#include "ui/frmBranch.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDateEdit>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <climits>
#include <stdexcept>

namespace {

constexpr int FirstTop = 60, RowPitch = 360, FirstLeft = 120, Gap = 120;
constexpr int CheckBoxWidth = 260; // a check box without caption; its label follows

QString labelName(const char* controlName)
{
    return QStringLiteral("lbl") + QString::fromLatin1(controlName).mid(3);
}

int usualWidth(CriterionKind kind)
{
    switch (kind) {
    case CriterionKind::Date:
        return 1800;
    case CriterionKind::Check:
    case CriterionKind::Option:
    case CriterionKind::Label:
        return 1100;
    case CriterionKind::Button:
        return 1000;
    case CriterionKind::Views:
        return 1300;
    default:
        return 1500;
    }
}

// A combo's hint (its `text`), on the combo and its label, kept as "ToolTipText".
const QString ToolTip = QStringLiteral("ToolTipText");
bool hasToolTip(const CriterionSpec& c)
{
    return c.text && (c.kind == CriterionKind::List || c.kind == CriterionKind::Text ||
                      c.kind == CriterionKind::CardNumber || c.kind == CriterionKind::Branch);
}

QString itemText(const TextSpec& item, const LanguageSection* own)
{
    if (item.defaultText && own)
        return own->text(QString::fromLatin1(item.key), QStringLiteral("Default"));
    return Msg(QString::fromLatin1(item.key));
}

// Clicking a check box's label toggles the box.
class LabelToggle : public QObject
{
public:
    LabelToggle(QLabel* label, QCheckBox* box) : QObject(label), m_box(box)
    {
        label->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::MouseButtonRelease && m_box->isEnabled())
            m_box->click();
        return false;
    }

private:
    QCheckBox* m_box;
};

// A magnetic card track arrives as keys: ";" number "?". The start sentinel empties the box, the
// end sentinel selects what was read; neither is typed into it.
class CardReader : public QObject
{
public:
    explicit CardReader(QComboBox* combo) : QObject(combo), m_combo(combo)
    {
        combo->lineEdit()->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const QString key = static_cast<QKeyEvent*>(event)->text();
        if (key == QLatin1String(";")) {
            m_combo->setEditText(QString());
            return true;
        }
        if (key == QLatin1String("?")) {
            m_combo->lineEdit()->selectAll();
            return true;
        }
        return false;
    }

private:
    QComboBox* m_combo;
};

} // namespace

CriteriaBar::CriteriaBar(const std::vector<std::vector<CriterionSpec>>& rows,
                         const std::vector<const char*>& viewOptions, const CriteriaType& criteria,
                         QWidget* bar, const Place& place)
    : QObject(bar), m_rows(rows), m_viewOptions(viewOptions), m_type(criteria), m_bar(bar),
      m_place(place)
{
    checkDeclaration();
    for (size_t r = 0; r < m_rows.size(); ++r) {
        m_built.append(QList<Built>());
        int left = FirstLeft;
        for (const CriterionSpec& c : m_rows[r])
            build(c, int(r), &left);
    }
    m_heightTwips = std::max(FirstTop + int(m_rows.size()) * RowPitch, m_lowestTwips + Gap / 2);
    followOwners();
}

CriteriaBar::~CriteriaBar() = default;

void CriteriaBar::build(const CriterionSpec& c, int row, int* left)
{
    const int top = FirstTop + row * RowPitch;
    if (c.left >= 0)
        *left = c.left;
    const int width = c.width > 0 ? c.width : usualWidth(c.kind);
    Built built{&c, nullptr, {}};
    auto named = [&](QWidget* w, const QString& name) {
        w->setObjectName(name);
        m_byName.insert(name, w);
        return w;
    };
    auto addLabel = [&](int at) {
        auto* label = new QLabel(QString::fromUtf8(c.label), m_bar);
        named(label, labelName(c.name));
        if (c.text && c.kind != CriterionKind::Check && c.kind != CriterionKind::Option)
            label->setToolTip(QString::fromUtf8(c.text));
        m_place(label, at, top, c.labelWidth, RowHeight);
        built.label = label;
        return label;
    };
    if (c.kind == CriterionKind::Label) {
        auto* label = new QLabel(QString::fromUtf8(c.label), m_bar);
        named(label, QString::fromLatin1(c.name));
        m_place(label, *left, top, width, RowHeight);
        built.label = label;
        *left += width;
        m_built.last().append(built);
        return;
    }
    if (c.label && c.kind != CriterionKind::LabelledCheck) {
        addLabel(*left);
        *left += c.labelWidth;
    }
    QWidget* control = nullptr;
    switch (c.kind) {
    case CriterionKind::Date: {
        auto* date = new QDateEdit(m_bar);
        date->setCalendarPopup(true);
        control = date;
        break;
    }
    case CriterionKind::Check:
        control = new QCheckBox(QString::fromUtf8(c.text ? c.text : ""), m_bar);
        break;
    case CriterionKind::LabelledCheck: {
        auto* box = new QCheckBox(m_bar);
        named(box, QString::fromLatin1(c.name));
        m_place(box, *left, top, CheckBoxWidth, RowHeight);
        built.controls << box;
        auto* label = addLabel(*left + CheckBoxWidth + 20);
        new LabelToggle(static_cast<QLabel*>(label), box);
        *left += CheckBoxWidth + 20 + c.labelWidth + Gap;
        m_built.last().append(built);
        return;
    }
    case CriterionKind::Option:
        control = new QRadioButton(QString::fromUtf8(c.text ? c.text : ""), m_bar);
        optionGroup(QString::fromLatin1(c.name).section(QLatin1Char('_'), 0, 0))
            ->addButton(static_cast<QRadioButton*>(control));
        break;
    case CriterionKind::List:
    case CriterionKind::Text:
    case CriterionKind::CardNumber:
    case CriterionKind::Branch: {
        auto* combo = new DropDownComboBox(m_bar);
        combo->setEditable(c.kind != CriterionKind::List || c.source.kind == ListSource::Query ||
                           c.source.kind == ListSource::DataList ||
                           c.source.kind == ListSource::Screen);
        combo->setInsertPolicy(QComboBox::NoInsert);
        if (c.text)
            combo->setToolTip(QString::fromUtf8(c.text));
        if (c.kind == CriterionKind::CardNumber)
            new CardReader(combo);
        control = combo;
        break;
    }
    case CriterionKind::TextBox:
        control = new QLineEdit(m_bar);
        break;
    case CriterionKind::Label: // made above
        return;
    case CriterionKind::Button:
        control = new QPushButton(QString::fromUtf8(c.text ? c.text : ""), m_bar);
        break;
    case CriterionKind::Views: {
        // A caption on two lines ("按菜品\n汇总") needs the height of two lines of text; the bar
        // grows to hold it.
        int lines = 1;
        for (const char* option : m_viewOptions)
            lines = std::max(lines, int(QByteArray(option).count('\n')) + 1);
        const int height = RowHeight + 120 * lines;
        if (lines > 1)
            m_lowestTwips = std::max(m_lowestTwips, top - 60 + height);
        const int firstLeft = *left;
        int line = 0, right = *left;
        for (size_t v = 0; v < m_viewOptions.size(); ++v) {
            if (c.perLine > 0 && v > 0 && int(v) % c.perLine == 0) {
                // The next line starts under the first option.
                ++line;
                *left = firstLeft;
                m_lowestTwips = std::max(m_lowestTwips, top - 60 + line * RowPitch + height);
            }
            auto* option = new QRadioButton(QString::fromUtf8(m_viewOptions[v]), m_bar);
            optionGroup(QString::fromLatin1(c.name))->addButton(option);
            named(option, ViewControlName(c.name, int(v), c.indexed));
            m_place(option, *left, top - 60 + line * RowPitch, width, height);
            connect(option, &QRadioButton::toggled, this, [this, v](bool on) {
                if (on)
                    emit viewChosen(int(v));
            });
            built.controls << option;
            m_viewButtons << option;
            *left += width;
            right = std::max(right, *left);
        }
        *left = right + Gap;
        m_built.last().append(built);
        return;
    }
    case CriterionKind::MealPeriods: {
        auto* master = new QCheckBox(QString::fromUtf8(c.text ? c.text : ""), m_bar);
        named(master, QStringLiteral("chkPeriod_0"));
        m_place(master, *left, top, width, RowHeight);
        m_periods = new MealPeriodBoxes(master);
        built.controls << master;
        *left += width + Gap;
        m_periodsLeft = *left; // the period boxes follow the master box when they are made
        m_periodsTop = top;
        m_built.last().append(built);
        return;
    }
    }
    named(control, QString::fromLatin1(c.name));
    // Buttons stand a little taller than the row, centred on it.
    const bool button = c.kind == CriterionKind::Button;
    m_place(control, *left, button ? top - 30 : top, width, button ? RowHeight + 60 : RowHeight);
    built.controls << control;
    *left += width + Gap;
    m_built.last().append(built);

    if (c.kind == CriterionKind::Branch) {
        m_branch = new BranchCriterion(static_cast<DropDownComboBox*>(control),
                                       QString::fromLatin1(c.fallbackTable), m_bar->window());
    } else if (c.kind == CriterionKind::List && c.source.kind != ListSource::Items &&
               c.source.kind != ListSource::None && c.source.kind != ListSource::Columns) {
        fillOnFirstDropDown(static_cast<QComboBox*>(control), c);
    }
}

void CriteriaBar::fillOnFirstDropDown(QComboBox* combo, const CriterionSpec& c)
{
    auto* dropDown = static_cast<DropDownComboBox*>(combo);
    const ListSource* source = &c.source; // m_rows outlives the connection
    connect(dropDown, &DropDownComboBox::dropDown, this, [this, dropDown, source] {
        if (!dropDown->takeFirstDropDown())
            return;
        switch (source->kind) {
        case ListSource::Query:
            FillComboFromQuery(dropDown, QString::fromLatin1(source->field),
                               QString::fromUtf8(source->sql));
            break;
        case ListSource::DataList:
            fillFromDataList(dropDown, *source);
            break;
        case ListSource::Screen:
            if (m_listFill)
                m_listFill(dropDown->objectName(), dropDown);
            break;
        default:
            break;
        }
    });
}

void CriteriaBar::fillFromDataList(QComboBox* combo, const ListSource& source) const
{
    DataList list(source.list, hostContext().connection());
    list.initialise(1, 1);
    if (source.owner) {
        // Only the entries of the owner chosen by name, when its list knows that name.
        const QString ownerName = chosen(source.owner);
        const CriterionSpec* owner = spec(source.owner);
        if (!ownerName.isEmpty() && owner && owner->source.kind == ListSource::DataList) {
            DataList owners(owner->source.list, hostContext().connection());
            owners.initialise(1, 1);
            owners.load();
            for (int i = 1; i <= owners.Count(); ++i) {
                if (owners.item(i).Name == ownerName) {
                    list.addCondition(DataList::FieldOwner, ListCriteria::Equal, owners.item(i).id,
                                      ListCriteria::And);
                    break;
                }
            }
        }
        list.addSortKey(DataList::FieldId, ListCriteria::Ascending);
    }
    list.load();
    MarkListFailure(combo, list.lastError());
    for (int i = 1; i <= list.Count(); ++i)
        combo->addItem(list.item(i).Name);
}

void CriteriaBar::followOwners()
{
    const QString all = Msg(QStringLiteral("Msg_ComboBox_All"));
    for (const std::vector<CriterionSpec>& row : m_rows) {
        for (const CriterionSpec& c : row) {
            if (c.kind != CriterionKind::List || !c.source.owner)
                continue;
            QComboBox* follower = combo(c.name);
            QComboBox* owner = combo(c.source.owner);
            // Emptied back to "(全部)" whenever the owner is chosen again (after the branch
            // picker, when it opens, has closed); its own followers follow in turn.
            auto empty = [follower, all] {
                follower->clear();
                follower->setProperty("Tag", QVariant());
                follower->addItem(all);
                follower->setCurrentIndex(0);
            };
            connect(owner, &QComboBox::currentTextChanged, follower, empty);
            connect(owner, &QComboBox::activated, follower, empty);
        }
    }
}

void CriteriaBar::load(const LanguageSection* texts)
{
    const QDate today = Today();
    const QString all = Msg(QStringLiteral("Msg_ComboBox_All"));
    for (const QList<Built>& row : std::as_const(m_built)) {
        for (const Built& b : row) {
            const CriterionSpec& c = *b.spec;
            QWidget* control = b.controls.isEmpty() ? nullptr : b.controls.first();
            if (hasToolTip(c) && texts) {
                const QString tip = texts->text(QString::fromLatin1(c.name), ToolTip);
                control->setToolTip(tip);
                if (b.label)
                    b.label->setToolTip(tip);
            }
            switch (c.kind) {
            case CriterionKind::Date:
                static_cast<QDateEdit*>(control)->setDate(today);
                break;
            case CriterionKind::List: {
                auto* combo = static_cast<QComboBox*>(control);
                combo->clear();
                combo->setProperty("Tag", QVariant());
                if (c.source.kind == ListSource::Items) {
                    for (const TextSpec& item : c.source.items)
                        combo->addItem(itemText(item, texts));
                } else if (c.source.kind == ListSource::Columns) {
                    fillSortColumns(combo, c.source, texts);
                    break;
                } else if (c.source.kind != ListSource::None) {
                    combo->addItem(all);
                }
                combo->setCurrentIndex(0);
                break;
            }
            case CriterionKind::Branch:
                m_branch->reset();
                break;
            case CriterionKind::MealPeriods:
                m_periods->load(
                    [this](QWidget* w, int left, int width) {
                        m_place(w, left, m_periodsTop, width, RowHeight);
                        m_byName.insert(w->objectName(), w);
                    },
                    m_periodsLeft);
                break;
            default:
                break;
            }
        }
    }
    if (auto* trueData = qobject_cast<QCheckBox*>(find("chkUseTrueData"))) {
        const bool allowed = hostContext().TrueDataAllowed;
        trueData->setVisible(allowed);
        if (QWidget* label = find("lblUseTrueData"))
            label->setVisible(allowed);
        trueData->setChecked(allowed);
        if (!allowed)
            closeGapOf("chkUseTrueData");
    }
    if (!m_viewButtons.isEmpty())
        static_cast<QRadioButton*>(m_viewButtons.first())->setChecked(true);
}

QList<QPair<QString, QString>> CriteriaBar::snapshot(QStringList* branchIds) const
{
    QList<QPair<QString, QString>> values;
    auto flag = [](const QAbstractButton* b) {
        return b->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
    };
    for (const QList<Built>& row : m_built) {
        for (const Built& b : row) {
            const CriterionSpec& c = *b.spec;
            QWidget* control = b.controls.isEmpty() ? nullptr : b.controls.first();
            if (!control || control->isHidden())
                continue;
            const QString name = control->objectName();
            switch (c.kind) {
            case CriterionKind::Date:
                values.append({name, static_cast<QDateEdit*>(control)->date().toString(
                                         QStringLiteral("yyyy-MM-dd"))});
                break;
            case CriterionKind::Check:
            case CriterionKind::LabelledCheck:
                values.append({name, flag(static_cast<QCheckBox*>(control))});
                break;
            case CriterionKind::Option:
                if (static_cast<QRadioButton*>(control)->isChecked())
                    values.append({name, QStringLiteral("1")});
                break;
            case CriterionKind::Views:
                for (QWidget* option : b.controls)
                    if (static_cast<QRadioButton*>(option)->isChecked())
                        values.append({option->objectName(), QStringLiteral("1")});
                break;
            case CriterionKind::MealPeriods:
                values.append({name, flag(m_periods->master())});
                for (QCheckBox* box : m_periods->boxes())
                    values.append({box->objectName(), flag(box)});
                break;
            case CriterionKind::List: {
                auto* combo = static_cast<QComboBox*>(control);
                const int index = combo->findText(combo->currentText(), Qt::MatchExactly);
                const bool fixed =
                    c.source.kind == ListSource::Items || c.source.kind == ListSource::Columns;
                if (index >= 0 && (fixed || index == 0))
                    values.append({name, QStringLiteral("#%1").arg(index)});
                else
                    values.append({name, combo->currentText()});
                break;
            }
            case CriterionKind::Branch: {
                auto* combo = static_cast<QComboBox*>(control);
                const int index = combo->currentIndex();
                if (combo->currentText() == combo->itemText(0))
                    values.append({name, QStringLiteral("#0")});
                else if (combo->currentText() == combo->itemText(1)) {
                    values.append({name, QStringLiteral("#1")});
                    if (branchIds && m_branch->picker())
                        *branchIds = m_branch->picker()->tickedIds();
                } else
                    values.append(
                        {name, index >= 2 ? combo->itemText(index) : combo->currentText()});
                break;
            }
            case CriterionKind::Text:
            case CriterionKind::CardNumber:
                values.append({name, static_cast<QComboBox*>(control)->currentText()});
                break;
            case CriterionKind::TextBox:
                values.append({name, static_cast<QLineEdit*>(control)->text()});
                break;
            case CriterionKind::Label:
            case CriterionKind::Button:
                break;
            }
        }
    }
    return values;
}

std::vector<LanguageEntry> CriteriaBar::languageEntries() const
{
    std::vector<LanguageEntry> entries;
    const QString caption = QStringLiteral("Caption");
    for (const QList<Built>& row : m_built) {
        for (const Built& b : row) {
            const CriterionSpec& c = *b.spec;
            if (b.label)
                entries.push_back({b.label->objectName(), caption, QString::fromUtf8(c.label)});
            if (hasToolTip(c))
                entries.push_back(
                    {QString::fromLatin1(c.name), ToolTip, QString::fromUtf8(c.text)});
            switch (c.kind) {
            case CriterionKind::Check:
            case CriterionKind::Option:
            case CriterionKind::Button:
            case CriterionKind::MealPeriods:
                if (c.text) {
                    // An option of a group (optOrderBy_0) keeps its caption as "RadioCaption".
                    const QString name = b.controls.first()->objectName();
                    const bool ofGroup =
                        c.kind == CriterionKind::Option && name.contains(QLatin1Char('_'));
                    entries.push_back({name, ofGroup ? QStringLiteral("RadioCaption") : caption,
                                       QString::fromUtf8(c.text)});
                }
                break;
            case CriterionKind::Views:
                for (int v = 0; v < b.controls.size(); ++v)
                    entries.push_back({b.controls.at(v)->objectName(), caption,
                                       QString::fromUtf8(m_viewOptions[size_t(v)])});
                break;
            case CriterionKind::List:
                for (const TextSpec& item : c.source.items)
                    if (item.defaultText)
                        entries.push_back({QString::fromLatin1(item.key), QStringLiteral("Default"),
                                           QString::fromUtf8(item.defaultText)});
                break;
            default:
                break;
            }
        }
    }
    return entries;
}

// The widgets of a built criterion, in the order they stand on the bar.
static QList<QWidget*> widgetsOf(const QList<QWidget*>& controls, QWidget* label, bool labelFirst)
{
    QList<QWidget*> widgets;
    if (label && labelFirst)
        widgets << label;
    widgets << controls;
    if (label && !labelFirst)
        widgets << label;
    return widgets;
}

void CriteriaBar::closeGapOf(const char* name)
{
    for (const QList<Built>& row : m_built) {
        for (int i = 0; i < row.size(); ++i) {
            if (!row[i].controls.contains(find(name)))
                continue;
            // The hidden criterion's room goes to the criteria after it on its row (once: a
            // second load finds them moved already).
            if (m_gapsClosed.contains(QLatin1String(name)) || i + 1 >= row.size())
                return;
            m_gapsClosed << QLatin1String(name);
            int start = INT_MAX;
            for (QWidget* w : widgetsOf(row[i].controls, row[i].label, true))
                start = std::min(start, w->x());
            QList<QWidget*> after;
            for (int j = i + 1; j < row.size(); ++j) {
                after << widgetsOf(row[j].controls, row[j].label, true);
                if (row[j].spec->kind == CriterionKind::MealPeriods)
                    for (QCheckBox* box : m_periods->boxes())
                        after << box;
            }
            int end = INT_MAX;
            for (QWidget* w : after)
                end = std::min(end, w->x());
            for (QWidget* w : after)
                w->move(w->x() - (end - start), w->y());
            return;
        }
    }
}

QList<QList<QWidget*>> CriteriaBar::englishRows() const
{
    QList<QList<QWidget*>> rows;
    for (const QList<Built>& row : m_built) {
        QList<QWidget*> widgets;
        QList<QList<QWidget*>> lines; // view options continued on the lines below
        for (const Built& b : row) {
            // A labelled check box stands before its label.
            const bool labelFirst = b.spec->kind != CriterionKind::LabelledCheck;
            QList<QWidget*> controls = b.controls;
            const int perLine = b.spec->kind == CriterionKind::Views ? b.spec->perLine : 0;
            if (perLine > 0) {
                for (int first = perLine; first < b.controls.size(); first += perLine)
                    lines << b.controls.mid(first, perLine);
                controls = b.controls.mid(0, perLine);
            }
            for (QWidget* w : widgetsOf(controls, b.label, labelFirst))
                if (!w->isHidden()) // a criterion the user may not use takes no room
                    widgets << w;
            if (b.spec->kind == CriterionKind::MealPeriods) // the period boxes follow the master
                for (QCheckBox* box : m_periods->boxes())
                    widgets << box;
        }
        rows << widgets;
        rows << lines;
    }
    return rows;
}

namespace {

// Whether a control of `kind` gives the value a binding reads.
bool gives(CriterionKind kind, CriterionBinding::Value value)
{
    using V = CriterionBinding;
    switch (kind) {
    case CriterionKind::Date:
        return value == V::Date;
    case CriterionKind::Check:
    case CriterionKind::LabelledCheck:
        return value == V::Flag;
    case CriterionKind::Option:
        return value == V::Flag || value == V::Index;
    case CriterionKind::List:
        return value == V::Text || value == V::Index || value == V::ShownText;
    case CriterionKind::Text:
    case CriterionKind::CardNumber:
    case CriterionKind::TextBox:
        return value == V::Text;
    case CriterionKind::Branch:
        return value == V::Branch;
    case CriterionKind::Views:
        return value == V::Index;
    case CriterionKind::MealPeriods:
        return value == V::Names;
    case CriterionKind::Label:
    case CriterionKind::Button:
        return false;
    }
    return false;
}

// The group of an option: its name before "_" (optOrderBy_1: optOrderBy).
QString optionGroupOf(const char* name)
{
    return QString::fromLatin1(name).section(QLatin1Char('_'), 0, 0);
}

} // namespace

void CriteriaBar::checkDeclaration() const
{
    const std::string screen = m_bar->window()->objectName().toStdString();
    auto wrong = [&screen](const std::string& what) {
        return std::logic_error(screen + ": " + what);
    };
    QStringList names, boundOptionGroups;
    for (const std::vector<CriterionSpec>& row : m_rows) {
        for (const CriterionSpec& c : row) {
            const QString name = QString::fromLatin1(c.name);
            if (names.contains(name))
                throw wrong("the criterion " + name.toStdString() + " is declared twice");
            names << name;
            if (c.kind == CriterionKind::Option && c.into.isBound())
                boundOptionGroups << optionGroupOf(c.name);
        }
    }
    for (const std::vector<CriterionSpec>& row : m_rows) {
        for (const CriterionSpec& c : row) {
            const std::string name = c.name;
            if (c.source.owner && !names.contains(QString::fromLatin1(c.source.owner)))
                throw wrong(name + " follows " + c.source.owner + ", which is not declared");
            if (!m_type.isDeclared())
                continue;
            if (!c.into.isBound()) {
                const bool valueless = c.kind == CriterionKind::Label ||
                                       c.kind == CriterionKind::Button ||
                                       c.kind == CriterionKind::Views;
                const bool sibling = c.kind == CriterionKind::Option &&
                                     boundOptionGroups.contains(optionGroupOf(c.name));
                if (!valueless && !sibling)
                    throw wrong(name + " holds a value but is read into no criterion");
                continue;
            }
            if (!gives(c.kind, c.into.value))
                throw wrong(name + " is read into a member its control does not give");
            if (!m_type.part(m_type.make(), c.into.owner))
                throw wrong(name + " is read into a member of " + c.into.owner.name() +
                            ", which the report's criteria " + m_type.type.name() + " do not hold");
        }
    }
}

bool CriteriaBar::valueOf(const CriterionSpec& c, bool tell, QVariant* value,
                          QString* problem) const
{
    switch (c.kind) {
    case CriterionKind::Date:
        *value = date(c.name);
        return true;
    case CriterionKind::Check:
    case CriterionKind::LabelledCheck:
        *value = checked(c.name);
        return true;
    case CriterionKind::Option:
        if (c.into.value == CriterionBinding::Index)
            *value = chosenOption(c.name);
        else
            *value = checked(c.name);
        return true;
    case CriterionKind::List:
        if (c.into.value == CriterionBinding::Index)
            *value = choice(c.name);
        else if (c.into.value == CriterionBinding::ShownText)
            *value = choice(c.name) == 0 ? QVariant() : QVariant(text(c.name));
        else if (c.source.kind == ListSource::Columns)
            *value = sortField(c);
        else if (c.source.kind == ListSource::None)
            *value = combo(c.name)->currentText();
        else
            *value = chosen(c.name);
        return true;
    case CriterionKind::Text:
    case CriterionKind::CardNumber:
    case CriterionKind::TextBox:
        *value = text(c.name);
        return true;
    case CriterionKind::Branch: {
        BranchChoice choice;
        const bool ok =
            tell ? m_branch->choose(&choice, problem) : m_branch->read(&choice, problem);
        *value = QVariant::fromValue(choice);
        return ok;
    }
    case CriterionKind::Views:
        *value = view();
        return true;
    case CriterionKind::MealPeriods: {
        QStringList names;
        bool ok = true;
        if (tell) {
            ok = mealPeriodNames(&names, problem);
        } else {
            names = m_periods->ticked();
            if (names.isEmpty()) {
                *problem = Msg(QStringLiteral("Msg_Period_ToSelect"));
                ok = false;
            }
        }
        *value = names;
        return ok;
    }
    case CriterionKind::Label:
    case CriterionKind::Button:
        break;
    }
    return false;
}

int CriteriaBar::chosenOption(const char* name) const
{
    const QString group = optionGroupOf(name);
    for (const std::vector<CriterionSpec>& row : m_rows)
        for (const CriterionSpec& c : row)
            if (c.kind == CriterionKind::Option && optionGroupOf(c.name) == group &&
                checked(c.name))
                return QString::fromLatin1(c.name).section(QLatin1Char('_'), 1).toInt();
    return -1;
}

void CriteriaBar::fillSortColumns(QComboBox* combo, const ListSource& source,
                                  const LanguageSection* texts) const
{
    if (!source.items.empty())
        combo->addItem(itemText(source.items.front(), texts));
    for (const ColumnSpec& column : m_sortColumns) {
        const QString field = QString::fromUtf8(column.field);
        const QString key = field.mid(field.lastIndexOf(QLatin1Char('|')) + 1);
        combo->addItem(texts ? texts->text(m_sortControl, key) : QString::fromUtf8(column.caption));
    }
    combo->setCurrentIndex(source.items.empty() ? -1 : 0);
}

QString CriteriaBar::sortField(const CriterionSpec& c) const
{
    const int index = choice(c.name) - (c.source.items.empty() ? 0 : 1);
    if (index < 0 || index >= int(m_sortColumns.size()))
        return QString();
    return QString::fromUtf8(m_sortColumns[size_t(index)].field).section(QLatin1Char('|'), 0, 0);
}

CriteriaValue CriteriaBar::readAll(bool tell, QString* problem) const
{
    if (!m_type.isDeclared())
        throw std::logic_error("the screen declares no criteria type");
    CriteriaValue criteria = m_type.make();
    for (const std::vector<CriterionSpec>& row : m_rows) {
        for (const CriterionSpec& c : row) {
            if (!c.into.isBound())
                continue;
            QVariant value;
            QString why;
            if (!valueOf(c, tell, &value, &why)) {
                if (tell)
                    throw std::runtime_error(why.toStdString());
                if (problem && problem->isEmpty())
                    *problem = why;
                continue;
            }
            c.into.set(m_type.part(criteria, c.into.owner), value);
        }
    }
    return criteria;
}

QVariant CriteriaBar::shownValue(std::type_index owner, const QByteArray& member) const
{
    for (const std::vector<CriterionSpec>& row : m_rows) {
        for (const CriterionSpec& c : row) {
            if (c.into.owner != owner || c.into.member != member)
                continue;
            QVariant value;
            QString problem;
            valueOf(c, false, &value, &problem);
            return value;
        }
    }
    throw std::logic_error("no criterion is read into that member");
}

CriteriaValue CriteriaBar::read() const
{
    return readAll(true, nullptr);
}

CriteriaValue CriteriaBar::readAsShown(QString* problem) const
{
    return readAll(false, problem);
}

QWidget* CriteriaBar::find(const char* name) const
{
    return m_byName.value(QString::fromLatin1(name));
}

const CriterionSpec* CriteriaBar::spec(const char* name) const
{
    for (const std::vector<CriterionSpec>& row : m_rows)
        for (const CriterionSpec& c : row)
            if (qstrcmp(c.name, name) == 0)
                return &c;
    return nullptr;
}

QButtonGroup* CriteriaBar::optionGroup(const QString& name)
{
    QButtonGroup*& group = m_optionGroups[name];
    if (!group)
        group = new QButtonGroup(this);
    return group;
}

QWidget* CriteriaBar::control(const char* name) const
{
    QWidget* w = find(name);
    if (!w)
        throw std::logic_error(std::string("no criterion named ") + name);
    return w;
}

QComboBox* CriteriaBar::combo(const char* name) const
{
    auto* c = qobject_cast<QComboBox*>(control(name));
    if (!c)
        throw std::logic_error(std::string(name) + " is not a combo box");
    return c;
}

int CriteriaBar::choice(const char* name) const
{
    const QComboBox* c = combo(name);
    return c->findText(c->currentText(), Qt::MatchExactly | Qt::MatchCaseSensitive);
}

QString CriteriaBar::chosen(const char* name) const
{
    const int index = choice(name);
    return index > 0 ? combo(name)->itemText(index) : QString();
}

QString CriteriaBar::text(const char* name) const
{
    QWidget* w = control(name);
    if (auto* c = qobject_cast<QComboBox*>(w))
        return c->currentText();
    if (auto* e = qobject_cast<QLineEdit*>(w))
        return e->text();
    throw std::logic_error(std::string(name) + " holds no text");
}

bool CriteriaBar::checked(const char* name) const
{
    auto* b = qobject_cast<QAbstractButton*>(control(name));
    if (!b)
        throw std::logic_error(std::string(name) + " is not a check box or option");
    return b->isChecked();
}

QDate CriteriaBar::date(const char* name) const
{
    auto* d = qobject_cast<QDateEdit*>(control(name));
    if (!d)
        throw std::logic_error(std::string(name) + " is not a date");
    return d->date();
}

bool CriteriaBar::branch(BranchChoice* choice, QString* reason) const
{
    if (!m_branch)
        throw std::logic_error("no branch criterion");
    return m_branch->choose(choice, reason);
}

BranchChoice CriteriaBar::requireBranch() const
{
    BranchChoice choice;
    QString reason;
    if (!branch(&choice, &reason))
        throw std::runtime_error(reason.toStdString());
    return choice;
}

bool CriteriaBar::branchAsShown(BranchChoice* choice) const
{
    if (!m_branch)
        throw std::logic_error("no branch criterion");
    return m_branch->read(choice);
}

bool CriteriaBar::mealPeriodNames(QStringList* names, QString* reason) const
{
    if (!m_periods)
        throw std::logic_error("no meal-period boxes");
    // A list that could not be read is no choice of the user's: read it again, and when it
    // still cannot be read say so (the boxes' state is the user's only while they exist).
    if (!m_periods->loadError().isEmpty())
        m_periods->reload();
    if (!m_periods->loadError().isEmpty()) {
        *reason = m_periods->loadError();
        return false;
    }
    if (m_periods->boxes().isEmpty()) {
        *reason = QStringLiteral("no meal periods are defined (dd_Period is empty)");
        return false;
    }
    *names = m_periods->ticked();
    if (names->isEmpty()) {
        *reason = Msg(QStringLiteral("Msg_Period_ToSelect"));
        ReportScreen::Refuse(m_bar, *reason);
        return false;
    }
    return true;
}

bool CriteriaBar::mealPeriods(const QString& column, QString* condition, QString* reason,
                              const QString& close) const
{
    QStringList names;
    if (!mealPeriodNames(&names, reason))
        return false;
    *condition = MealPeriodCondition(column, names, close);
    return true;
}

int CriteriaBar::view() const
{
    for (int v = 0; v < m_viewButtons.size(); ++v)
        if (static_cast<QRadioButton*>(m_viewButtons.at(v))->isChecked())
            return v;
    return 0;
}

void CriteriaBar::setView(int view)
{
    if (view >= 0 && view < m_viewButtons.size())
        static_cast<QRadioButton*>(m_viewButtons.at(view))->setChecked(true);
}
