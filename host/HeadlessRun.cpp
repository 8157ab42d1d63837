#include "host/HeadlessRun.h"

#include "framework/HostUi.h"
#include "framework/ISubSystem.h"
#include "framework/ReportScreenProtocol.h"
#include "host/HostOptions.h"
#include "host/HostSession.h"
#include "host/MainWindow.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>

#include <cstdio>
#include <exception>

namespace {

void say(const QString& text)
{
    std::fprintf(stderr, "vtxhost: %s\n", qPrintable(HostUi::terminalText(text)));
    std::fflush(stderr);
}

// One protocol step; false (after saying why) when it was not done.
bool done(QObject* screen, ReportScreenProtocol::Result result, const QString& what)
{
    switch (result) {
    case ReportScreenProtocol::Result::Done:
        return true;
    case ReportScreenProtocol::Result::NotOffered:
        say(QStringLiteral("the screen offers no %1").arg(what));
        return false;
    case ReportScreenProtocol::Result::Failed:
        break;
    }
    const QString why = ReportScreenProtocol::lastError(screen);
    say(QStringLiteral("the screen could not %1%2")
            .arg(what, why.isEmpty() ? QString() : QStringLiteral(": ") + why));
    return false;
}

} // namespace

int RunHeadless(const HostOptions& options, HostSession& session, MainWindow& window)
{
    // Shown without appearing on a screen, so that screens get their real layout.
    window.setAttribute(Qt::WA_DontShowOnScreen);
    window.show();
    HostUi::setHeadlessYes(options.yes);
    QMdiArea* area = window.mdiArea();
    try {
        session.module()->ISubSystem_DoAction(options.action);
    } catch (const std::exception& e) {
        say(QStringLiteral("%1 failed: %2").arg(options.action, QString::fromLocal8Bit(e.what())));
        return ExitScreenFailed;
    }
    QApplication::processEvents();
    auto* status = qobject_cast<ISubSystemStatus*>(session.moduleObject());
    if (status && !status->ISubSystem_LastActionMatched())
        return ExitNotSupported;

    const auto after = area->subWindowList(QMdiArea::CreationOrder);
    QWidget* screen = after.isEmpty() ? nullptr : after.last()->widget();
    if (!options.actsOnScreen())
        return ExitOk;
    if (!screen) {
        say(QStringLiteral("%1 opened no screen to act on; --from, --to, --criteria, --set, "
                           "--export and --screenshot were not applied")
                .arg(options.action));
        return ExitOk;
    }
    using namespace ReportScreenProtocol;
    bool ok = true;
    if (!options.savedCriteria.isEmpty()) {
        ok = done(screen, openSavedCriteria(screen, options.savedCriteria),
                  QStringLiteral("open the saved criteria ") + options.savedCriteria);
        const QString notice = lastNotice(screen);
        if (ok && !notice.isEmpty())
            say(notice);
    }
    if (!options.from.isEmpty())
        ok = done(screen, applyCriterion(screen, QStringLiteral("dtpBegin"), options.from),
                  QStringLiteral("set dtpBegin to ") + options.from) &&
             ok;
    if (!options.to.isEmpty())
        ok = done(screen, applyCriterion(screen, QStringLiteral("dtpEnd"), options.to),
                  QStringLiteral("set dtpEnd to ") + options.to) &&
             ok;
    for (const auto& [name, value] : options.settings)
        ok = done(screen, applyCriterion(screen, name, value),
                  QStringLiteral("set %1 to %2").arg(name, value)) &&
             ok;
    const bool wantsRefresh = !options.from.isEmpty() || !options.to.isEmpty() ||
                              !options.settings.isEmpty() || !options.savedCriteria.isEmpty() ||
                              !options.drill.isEmpty() || !options.exportFile.isEmpty();
    if (ok && wantsRefresh)
        ok = done(screen, runRefresh(screen), QStringLiteral("refresh")) && ok;
    if (ok && !options.drill.isEmpty()) {
        // The list opened is the screen acted on from here.
        ok = done(screen, drillDown(screen, options.drill),
                  QStringLiteral("drill down at ") + options.drill);
        const auto opened = area->subWindowList(QMdiArea::ActivationHistoryOrder);
        if (ok && !opened.isEmpty())
            screen = opened.last()->widget();
    }
    if (ok && !options.exportFile.isEmpty())
        ok = done(screen, exportGrid(screen, options.exportFile),
                  QStringLiteral("export to ") + options.exportFile) &&
             ok;
    if (!options.screenshotFile.isEmpty()) {
        QApplication::processEvents();
        QWidget* frame = screen->parentWidget() ? screen->parentWidget() : screen;
        if (!frame->grab().save(options.screenshotFile)) {
            say(QStringLiteral("cannot write the screenshot %1").arg(options.screenshotFile));
            ok = false;
        }
    }
    return ok ? ExitOk : ExitScreenFailed;
}
