#pragma once

#include <dorvane/app_export.h>

// Entry of the application library: runs the whole application and returns
// the exit code of its event loop. Exported with C linkage.
extern "C" DORVANE_APP_EXPORT int RunApplication(int &argc, char **argv);
