// Sanitizer builds only. libsmi keeps some of what it allocates (names, and
// error texts it formats with vasprintf, which nothing of ours calls) past
// smiExit; those leaks are its own. libsmi has no frame pointers, so the fast
// unwinder sees only the allocating function.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libsmi.so\nleak:smiMalloc\nleak:smiStrdup\nleak:__vasprintf_internal\n";
}
