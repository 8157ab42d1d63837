#include "ui/BranchCriterion.h"

#include "core/LanguageSection.h"
#include "core/modMessage.h"
#include "ui/DropDownComboBox.h"
#include "ui/ReportScreen.h"
#include "ui/frmBranch.h"

#include <QTreeWidget>

BranchCriterion::BranchCriterion(DropDownComboBox* combo, const QString& fallbackTable,
                                 QWidget* screen)
    : QObject(screen), m_combo(combo), m_fallbackTable(fallbackTable), m_screen(screen)
{
    connect(m_combo, &DropDownComboBox::dropDown, this,
            [this] { FillBranchCombo(m_combo, m_fallbackTable); });
    connect(m_combo, &QComboBox::activated, this, [this](int index) {
        if (index == 1)
            ensurePicker()->ShowMe();
    });
}

void BranchCriterion::reset()
{
    m_combo->clear();
    m_combo->setProperty("Tag", QVariant());
    m_combo->addItem(Msg(QStringLiteral("Msg_ComboBox_All")));
    m_combo->addItem(Msg(QStringLiteral("Msg_ComboBox_Part")));
    m_combo->setCurrentIndex(0);
}

frmBranch* BranchCriterion::picker() const
{
    return m_picker;
}

frmBranch* BranchCriterion::ensurePicker()
{
    if (!m_picker)
        m_picker = new frmBranch(m_screen);
    return m_picker;
}

bool BranchCriterion::choose(BranchChoice* choice, QString* reason)
{
    QString problem;
    if (read(choice, &problem))
        return true;
    if (reason)
        *reason = problem;
    // "(部分)" with no branch ticked: the picker opens once the screen is usable again.
    std::function<void()> then;
    if (problem ==
        frmBranch::texts().text(QStringLiteral("Msg_Branch_ToSelect"), QStringLiteral("Default")))
        then = [picker = QPointer<BranchCriterion>(this)] {
            if (picker)
                picker->ensurePicker()->ShowMe();
        };
    ReportScreen::Refuse(m_screen, problem, std::move(then));
    return false;
}

bool BranchCriterion::read(BranchChoice* choice, QString* problem)
{
    *choice = BranchChoice();
    auto fail = [problem](const QString& message) {
        if (problem)
            *problem = message;
        return false;
    };
    try {
        choice->privileged = PrivilegedBranchIds();
        choice->privilegedNames = PrivilegedBranchNames();
    } catch (const std::exception& e) {
        return fail(QString::fromUtf8(e.what())); // privileges that cannot be read grant nothing
    }
    const QString text = m_combo->currentText();
    if (text == m_combo->itemText(0))
        return true;
    if (text == m_combo->itemText(1)) {
        const QStringList ids = m_picker ? m_picker->tickedIds() : QStringList();
        if (ids.isEmpty())
            return fail(frmBranch::texts().text(QStringLiteral("Msg_Branch_ToSelect"),
                                                QStringLiteral("Default")));
        choice->kind = BranchChoice::Several;
        choice->ids = ids;
        choice->names = m_picker->tickedNames();
        return true;
    }
    // A typed name: only the user's own branches are listed, so it must be one of them.
    FillBranchCombo(m_combo, m_fallbackTable);
    const int index = m_combo->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 2)
        return fail(frmBranch::texts()
                        .text(QStringLiteral("Msg_Branch_Unknown"), QStringLiteral("Default"))
                        .arg(text));
    choice->kind = BranchChoice::One;
    choice->name = m_combo->itemText(index);
    return true;
}

QString BranchCriterion::refusalOfSaved(const QString& value, const QStringList& ids)
{
    if (value == QLatin1String("#0"))
        return {};
    const QString unknown =
        frmBranch::texts().text(QStringLiteral("Msg_Branch_NoLonger"), QStringLiteral("Default"));
    if (value == QLatin1String("#1")) {
        frmBranch* picker = ensurePicker();
        for (const QString& id : ids)
            if (!picker->node(QStringLiteral("BranchID:") + id))
                return unknown.arg(id);
        return ids.isEmpty() ? frmBranch::texts().text(QStringLiteral("Msg_Branch_ToSelect"),
                                                       QStringLiteral("Default"))
                             : QString();
    }
    FillBranchCombo(m_combo, m_fallbackTable);
    if (m_combo->findText(value, Qt::MatchExactly | Qt::MatchCaseSensitive) < 2)
        return unknown.arg(value);
    return {};
}

void BranchCriterion::applySaved(const QString& value, const QStringList& ids)
{
    if (value == QLatin1String("#0")) {
        m_combo->setCurrentIndex(0);
    } else if (value == QLatin1String("#1")) {
        frmBranch* picker = ensurePicker();
        QTreeWidget* tree = picker->tree();
        for (int i = 0; i < tree->topLevelItemCount(); ++i) {
            tree->topLevelItem(i)->setCheckState(0, Qt::Unchecked);
            picker->checkNode(tree->topLevelItem(i));
        }
        for (const QString& id : ids)
            if (QTreeWidgetItem* node = picker->node(QStringLiteral("BranchID:") + id)) {
                node->setCheckState(0, Qt::Checked);
                picker->checkNode(node);
            }
        m_combo->setCurrentIndex(1);
    } else {
        FillBranchCombo(m_combo, m_fallbackTable);
        m_combo->setCurrentIndex(
            m_combo->findText(value, Qt::MatchExactly | Qt::MatchCaseSensitive));
    }
}
