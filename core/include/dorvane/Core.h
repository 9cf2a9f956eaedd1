#pragma once
// Umbrella header of the protocol core.
#include <dorvane/core_export.h>

#include <dorvane/capturewriter.h>
#include <dorvane/cheadergenerator.h>
#include <dorvane/context.h>
#include <dorvane/coretypes.h>
#include <dorvane/crcparameters.h>
#include <dorvane/dissectorgenerator.h>
#include <dorvane/field.h>
#include <dorvane/paramlist.h>
#include <dorvane/protocolparser.h>
#include <dorvane/protocolstream.h>
#include <dorvane/rxfield.h>
#include <dorvane/rxprotocol.h>
#include <dorvane/rxvaluemetainfo.h>
#include <dorvane/samplestats.h>
#include <dorvane/ticktiming.h>
#include <dorvane/txfield.h>
#include <dorvane/txprotocol.h>
#include <dorvane/valuemetainfo.h>
#include <dorvane/valuesize.h>
#include <dorvane/variant.h>
