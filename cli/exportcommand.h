#pragma once

#include "clioptions.h"

class Context;

// "dorvane-cli export": reads a transmit or receive protocol document and
// writes its dissector or C header. The exit status (ExitOk, or ExitUsage
// with the reason on stderr).
int runExport(const CliOptions &options, Context *context);
