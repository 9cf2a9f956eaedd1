#pragma once
// Umbrella header of the widget extensions.
#include <dorvane/wdxwaitcursor.h>
#include <dorvane/wdxwidgets_export.h>
