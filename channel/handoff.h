#pragma once

// Requests and signals cross between the proxy's thread and the worker through
// Qt's event queues. Their locks live inside Qt, where a ThreadSanitizer build
// cannot see them, so the order they guarantee is restated here: the sending
// side publishes before it posts, the receiving side takes over before it
// handles. Without the sanitizer both are empty.
namespace handoff {

#if defined(__SANITIZE_THREAD__)
#define DORVANE_HANDOFF_ENABLED 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define DORVANE_HANDOFF_ENABLED 1
#endif
#endif

#ifdef DORVANE_HANDOFF_ENABLED
void publish();
void takeOver();
#else
inline void publish()
{
}
inline void takeOver()
{
}
#endif

} // namespace handoff
