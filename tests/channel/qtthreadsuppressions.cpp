// Linked into the network tests of a ThreadSanitizer build. Qt's mutexes are
// futexes that the sanitizer does not see, so it cannot order what Qt does
// inside its own thread handling: waking an event loop that is ending (glib's
// wake-up descriptor), and freeing the wait condition or the watchdog of a
// thread that finished before it was joined. These reports carry only Qt and
// glib frames at the point of the access; nothing of this project's code.
extern "C" __attribute__((visibility("default"))) const char *__tsan_default_suppressions()
{
    return "race:libglib-2.0.so.0\n"
           "race:QWaitCondition::~QWaitCondition\n"
           "race:QTest::qRun\n";
}
