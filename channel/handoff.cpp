#include "handoff.h"

#ifdef DORVANE_HANDOFF_ENABLED
#include <sanitizer/tsan_interface.h>

extern "C" void __tsan_ignore_thread_begin();
extern "C" void __tsan_ignore_thread_end();

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

void handoff::ignoreBegin()
{
    __tsan_ignore_thread_begin();
}

void handoff::ignoreEnd()
{
    __tsan_ignore_thread_end();
}
#endif
