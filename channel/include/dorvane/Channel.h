#pragma once
// Umbrella header of the channel layer.
#include <dorvane/channel_export.h>
#include <dorvane/channelchunk.h>
#include <dorvane/channelparams.h>
#include <dorvane/channelproxy.h>
#include <dorvane/iperiodsendcallback.h>
