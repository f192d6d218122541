// Leaks inside system libraries the tests do not own (fontconfig, X11, D-Bus) would fail
// every widget test under LeakSanitizer; they are suppressed here so that running a test
// binary or ctest directly behaves as ./test does.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig\n"
           "leak:libX11\n"
           "leak:libxcb\n"
           "leak:libdbus\n"
           "leak:libglib\n";
}
