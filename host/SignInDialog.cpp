#include "host/SignInDialog.h"

#include "host/HostCaptions.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

SignInDialog::SignInDialog(const QList<QPair<QString, QString>>& users, QWidget* parent)
    : QDialog(parent), m_list(new QListWidget(this))
{
    setWindowTitle(HostCaptions::text(QStringLiteral("SignIn_Title")));
    for (const auto& [id, text] : users) {
        auto* item = new QListWidgetItem(text, m_list);
        item->setData(Qt::UserRole, id);
    }
    if (m_list->count() > 0)
        m_list->setCurrentRow(0);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(HostCaptions::text(QStringLiteral("SignIn_Prompt")), this));
    layout->addWidget(m_list);
    layout->addWidget(buttons);
    resize(320, 360);
}

QString SignInDialog::userId() const
{
    const QListWidgetItem* item = m_list->currentItem();
    return item ? item->data(Qt::UserRole).toString() : QString();
}
