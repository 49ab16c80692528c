// Assimp's ".x" parser (Debian's libassimp5 5.2.5) loses the frame it was
// building when it gives up on malformed text (88 bytes per file). The
// refusal tests feed it such text on purpose; the leak is the library's, so
// LeakSanitizer is told to leave libassimp out in this test program. Without
// the sanitizers this function is never called.

extern "C" const char* __lsan_default_suppressions() {
    return "leak:libassimp\n";
}
