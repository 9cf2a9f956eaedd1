#pragma once
// Umbrella header of the protocol core.
#include <dorvane/core_export.h>
