// Linked into every program that runs the Qt user interface under the thread sanitizer.

// Qt's raster engine paints large fills on its own worker threads, and the file dialog reads
// folders on its own; both are synchronised inside the uninstrumented Qt and GLib libraries,
// whose own allocations the thread sanitizer would report as races. Calls from the engine's
// worker need no entry: they reach the user-interface thread through a queue of our own.
extern "C" const char* __tsan_default_suppressions() {
    return "called_from_lib:libQt6Core.so.6\n"
           "called_from_lib:libQt6Gui.so.6\n"
           "called_from_lib:libglib-2.0.so.0\n";
}
