// Qt and GLib are not built with ThreadSanitizer: their own memory accesses,
// made under locks the sanitizer cannot see, are left out of its reports. Races
// in the instrumented code, this project's, are still reported.
#if defined(__SANITIZE_THREAD__)
extern "C" __attribute__((visibility("default"), used)) const char *__tsan_default_options()
{
    return "ignore_noninstrumented_modules=1";
}
#endif
