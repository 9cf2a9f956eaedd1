// Linked into the network tests of a ThreadSanitizer build. Qt's mutexes are
// futexes that the sanitizer does not see, so it cannot order what Qt does
// inside its own thread handling: glib waking an event loop that is ending
// (its wake-up descriptor), QtTest freeing the watchdog thread's wait
// condition, and the wait condition of a thread that finished before it was
// joined. Only the calls that glib and QtTest make themselves are left out,
// and the wait condition's destructor; code they call back, this project's
// slots and test functions, is still checked.
extern "C" __attribute__((visibility("default"))) const char *__tsan_default_suppressions()
{
    return "called_from_lib:libglib-2.0.so.0\n"
           "called_from_lib:libQt5Test.so.5\n"
           "race:QWaitCondition::~QWaitCondition\n";
}
