#include "framework/HostUi.h"

#include <QMdiArea>
#include <QPointer>

#include <cstdio>

namespace {
bool g_headless = false;
bool g_headlessYes = false;
QPointer<QMdiArea> g_mdiArea;
QString g_lastHeadlessMessage;
} // namespace

void HostUi::setHeadless(bool headless)
{
    g_headless = headless;
}
bool HostUi::isHeadless()
{
    return g_headless;
}
void HostUi::setHeadlessYes(bool yes)
{
    g_headlessYes = yes;
}
bool HostUi::headlessYes()
{
    return g_headlessYes;
}
bool HostUi::mayWrite()
{
    return !g_headless || g_headlessYes;
}
QString HostUi::lastHeadlessMessage()
{
    return g_lastHeadlessMessage;
}
void HostUi::setMdiArea(QMdiArea* area)
{
    g_mdiArea = area;
}
QMdiArea* HostUi::mdiArea()
{
    return g_mdiArea;
}

QString HostUi::terminalText(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar ch : text) {
        const char16_t u = ch.unicode();
        if (u == u'\n' || u == u'\t' || (u >= 0x20 && u < 0x7F) ||
            (u > 0x9F && ch.category() != QChar::Other_Control))
            out += ch;
        else if (u < 0x100)
            out += QStringLiteral("\\x%1").arg(int(u), 2, 16, QLatin1Char('0'));
        else
            out += QStringLiteral("\\u%1").arg(int(u), 4, 16, QLatin1Char('0'));
    }
    return out;
}

QMessageBox::StandardButton HostUi::messageBox(QWidget* parent, QMessageBox::Icon icon,
                                               const QString& title, const QString& text,
                                               QMessageBox::StandardButtons buttons,
                                               QMessageBox::StandardButton defaultButton)
{
    if (g_headless) {
        QString shown = text;
        shown.replace(QLatin1String("\r\n"), QLatin1String("\n"))
            .replace(QLatin1Char('\r'), QLatin1Char('\n'));
        g_lastHeadlessMessage = text;
        std::fprintf(stderr, "%s: %s\n", qPrintable(terminalText(title)),
                     qPrintable(terminalText(shown)));
        std::fflush(stderr);
        // A confirmation (a box that can be declined) is declined, unless the run says yes.
        for (auto decline : {QMessageBox::No, QMessageBox::Cancel, QMessageBox::Abort}) {
            if (!buttons.testFlag(decline))
                continue;
            if (g_headlessYes) {
                for (auto yes : {QMessageBox::Yes, QMessageBox::Ok})
                    if (buttons.testFlag(yes))
                        return yes;
                break;
            }
            std::fprintf(stderr, "(declined: a headless run confirms only with --yes)\n");
            std::fflush(stderr);
            return decline;
        }
        if (defaultButton != QMessageBox::NoButton)
            return defaultButton;
        // The first button in the usual order stands in as the default.
        for (auto b : {QMessageBox::Ok, QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel})
            if (buttons.testFlag(b))
                return b;
        return QMessageBox::NoButton;
    }
    QMessageBox box(icon, title, text, buttons, parent);
    if (defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(defaultButton);
    return QMessageBox::StandardButton(box.exec());
}
