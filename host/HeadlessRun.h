#pragma once

class HostOptions;
class HostSession;
class MainWindow;

// Exit statuses of the host.
enum HostExit
{
    ExitOk = 0,           // the action ran (and what was asked of its screen was done)
    ExitBadArguments = 2, // bad command line, database or module cannot be opened
    ExitNotSupported = 3, // the module has no such action
    ExitScreenFailed = 4, // the action failed, or its screen could not do what was asked
};

// Runs --action headless: dispatches it, then applies --from/--to/--set to the screen it
// opened, refreshes, exports and grabs it (ReportScreenProtocol). Returns the exit status.
int RunHeadless(const HostOptions& options, HostSession& session, MainWindow& window);
