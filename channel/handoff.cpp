#include "handoff.h"

#ifdef DORVANE_HANDOFF_ENABLED
#include <sanitizer/tsan_interface.h>

namespace {
char queueToken;
}

void handoff::publish()
{
    __tsan_release(&queueToken);
}

void handoff::takeOver()
{
    __tsan_acquire(&queueToken);
}
#endif
