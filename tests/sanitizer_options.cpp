// Linked into every test program: what the sanitizer build must not report.
#if defined(__SANITIZE_ADDRESS__)
// Leaks inside system libraries that the programs cannot free: fontconfig's
// caches (reached through Qt's font database), SDL, which mpv loads, D-Bus,
// which Qt's X11 platform connects to, and the sanitizer runtime itself;
// and the touch devices of Qt's test library, made to last until the end.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\nleak:libSDL2-2.0.so\nleak:libdbus-1.so\nleak:libubsan.so\n"
           "leak:libQt6WebEngineCore.so\nleak:createTouchDevice\n";
}
#endif
