#include "core/frmHelp.h"

#include "core/LanguageSection.h"
#include "core/modPublic.h"
#include "framework/HostUi.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QVBoxLayout>

namespace {
constexpr double kTwipsPerInch = 1440.0;
constexpr int kDefaultPosition = 1000; // twips

QSettings positionStore()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Valtrix"),
                     PluginBaseName());
}
} // namespace

const LanguageSection& frmHelp::texts()
{
    static const LanguageSection kTexts(
        "frmHelp", {
                       {"frmHelp", "Caption", "在线帮助"},
                       {"lblTitle", "Caption", "操作说明:"},
                       {"txtHelp", "Text",
                        "请选择开始日期和结束日期已经其他条件后，点击工具栏的“刷新”按钮或者按键盘上"
                        "的“回车”键，即可执行查询并显示报表。"},
                       {"cmdOK", "Caption", "确定"},
                   });
    return kTexts;
}

frmHelp::frmHelp(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmHelp"));
    setModal(true);
    lblTitle = new QLabel(this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    txtHelp = new QPlainTextEdit(this);
    txtHelp->setObjectName(QStringLiteral("txtHelp"));
    txtHelp->setReadOnly(true);
    cmdOK = new QPushButton(this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblTitle);
    layout->addWidget(txtHelp, 1);
    layout->addLayout(buttons);
    resize(420, 220);

    // Load: translate, then move to where the window was last closed.
    texts().translate(this);
    QString help = texts().text(QStringLiteral("txtHelp"), QStringLiteral("Text"));
    txtHelp->setPlainText(help.replace(QChar(13), QChar(10)));

    QSettings store = positionStore();
    const int left = store.value(QStringLiteral("frmHelp/Form_Left"), kDefaultPosition).toInt();
    const int top = store.value(QStringLiteral("frmHelp/Form_Top"), kDefaultPosition).toInt();
    move(qRound(left * logicalDpiX() / kTwipsPerInch), qRound(top * logicalDpiY() / kTwipsPerInch));
}

void frmHelp::ShowMe(const QString& title, const QString& text)
{
    if (!title.isEmpty())
        lblTitle->setText(title);
    if (!text.isEmpty())
        txtHelp->setPlainText(text);
    if (!isVisible() && !HostUi::isHeadless())
        exec();
}

void frmHelp::showHelp(QWidget* parent, const QString& title)
{
    frmHelp help(parent);
    help.ShowMe(title, QString());
}

void frmHelp::done(int result)
{
    QSettings store = positionStore();
    store.setValue(QStringLiteral("frmHelp/Form_Left"),
                   qRound(pos().x() * kTwipsPerInch / logicalDpiX()));
    store.setValue(QStringLiteral("frmHelp/Form_Top"),
                   qRound(pos().y() * kTwipsPerInch / logicalDpiY()));
    QDialog::done(result);
}
