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
void ignoreBegin();
void ignoreEnd();
#else
inline void publish()
{
}
inline void takeOver()
{
}
inline void ignoreBegin()
{
}
inline void ignoreEnd()
{
}
#endif

// Wraps the emit of a queued (or blocking queued) signal. What Qt allocates
// and copies while it posts the call happens after publish(), and the thread
// that receives it may free it before the sender is done, so the sanitizer
// cannot order the two; those accesses are Qt's own, and the sender does not
// touch them again, so they are left out of its view.
class Posting
{
public:
    Posting()
    {
        publish();
        ignoreBegin();
    }
    ~Posting() { ignoreEnd(); }
    Posting(const Posting &) = delete;
    Posting &operator=(const Posting &) = delete;
};

// Runs an emit that crosses to another thread inside a Posting.
template<typename Emit>
void post(Emit &&emitSignal)
{
    const Posting posting;
    emitSignal();
}

} // namespace handoff
