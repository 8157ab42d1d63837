#include "db/Connection.h"
#include "db/Summaries.h"
#include "framework/HostObject.h"
#include "framework/HostUi.h"
#include "framework/ISubSystem.h"
#include "framework/QtTranslation.h"
#include "host/HeadlessRun.h"
#include "host/HostCaptions.h"
#include "host/HostOptions.h"
#include "host/HostSession.h"
#include "host/MainWindow.h"
#include "host/SignInDialog.h"

#include <QApplication>

#include <cstdio>

namespace {

int fail(int status, const QString& reason)
{
    std::fprintf(stderr, "vtxhost: %s\n", qPrintable(HostUi::terminalText(reason)));
    return status;
}

} // namespace

// The administrator's commands on the bill summaries.
int RunSummaries(const HostOptions& options, const Connection& connection)
{
    try {
        if (options.summaries == QLatin1String("install")) {
            if (Summaries::installed(connection)) {
                std::fprintf(stdout, "the bill summaries are installed already\n");
                return ExitOk;
            }
            Summaries::install(connection);
            std::fprintf(stdout, "bill summaries installed\n");
        } else if (options.summaries == QLatin1String("drop")) {
            Summaries::drop(connection);
            std::fprintf(stdout, "bill summaries removed\n");
        } else {
            if (!Summaries::installed(connection))
                return fail(ExitScreenFailed, QStringLiteral("the bill summaries are not installed "
                                                             "(--install-summaries)"));
            Summaries::rebuildAll(connection);
            const QStringList differences = Summaries::verify(connection);
            if (!differences.isEmpty())
                return fail(ExitScreenFailed, differences.join(QStringLiteral("; ")));
            std::fprintf(stdout, "bill summaries agree with the bills\n");
        }
    } catch (const SqlError& e) {
        return fail(ExitScreenFailed, e.message());
    }
    return ExitOk;
}

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Valtrix"));
    QCoreApplication::setApplicationName(QStringLiteral("vtxQueryApp"));

    HostOptions options;
    QString error, help;
    if (!options.parse(QCoreApplication::arguments(), &error, &help))
        return fail(ExitBadArguments, error);
    if (!help.isEmpty()) {
        std::fprintf(stdout, "%s", qPrintable(help));
        return ExitOk;
    }
    // Qt's own texts (the sign-in dialog's buttons) in the host's language; the module
    // replaces the translation by its own language when it is bound.
    UseQtTranslation(HostCaptions::languageCode());
    const bool unattended = options.headless() || !options.menuScreenshot.isEmpty();
    HostUi::setHeadless(unattended);

    HostSession session;
    if (!options.summaries.isEmpty()) {
        if (!session.openDatabase(options, &error))
            return fail(ExitBadArguments, error);
        return RunSummaries(options, *session.connection());
    }
    if (!session.openDatabase(options, &error) || !session.loadModule(&error))
        return fail(ExitBadArguments, error);

    QString user = options.user;
    if (options.userGiven && !session.knowsUser(user, &error))
        return fail(ExitBadArguments, error); // never signed in with no privileges
    if (!options.userGiven) {
        const auto users = session.users();
        if (unattended) {
            user = users.isEmpty() ? QString() : users.first().first;
        } else if (!users.isEmpty()) {
            SignInDialog dialog(users);
            if (dialog.exec() != QDialog::Accepted)
                return ExitOk;
            user = dialog.userId();
        }
    }

    HostObject host(session.connection(), options.trueData, user);
    session.module()->ISubSystem_SetHost(&host);

    MainWindow window(session.moduleObject(), session.databaseName(), user);
    if (!options.menuScreenshot.isEmpty()) {
        if (!window.menuPicture().save(options.menuScreenshot))
            return fail(ExitBadArguments,
                        QStringLiteral("cannot write %1").arg(options.menuScreenshot));
        return ExitOk;
    }
    if (options.headless())
        return RunHeadless(options, session, window);
    window.show();
    return app.exec();
}
