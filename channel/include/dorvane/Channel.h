#pragma once
// Umbrella header of the channel layer.
#include <dorvane/channel_export.h>
