#pragma once

#include "app/CommandLine.h"

// True for the requests that run in the terminal without a window.
bool IsTerminalCommand(const CommandLineRequest& request);

// Runs an export, an import or a sync in the data folder after the login password
// has been checked, the same check as the login window's. Progress and
// messages go to standard error, the summary to standard output. Returns
// the exit code: 0 done, 1 refused or failed (the message says why).
int RunTerminalCommand(const CommandLineRequest& request);
