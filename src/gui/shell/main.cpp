#include "gui/shell/CPelmoraApp.h"

#include <cstdio>
#include <cstring>

namespace {
// Answered before any window exists, so that it works without a display (the manual page is
// made from it).
constexpr const char* kUsage =
    "Usage: pelmora [FILE.psh]\n"
    "Shows the readings of an RF power sensor attached over a serial (COM) port or USB: the\n"
    "AVG & PEAK, PULSE and CCDF screens, limits with sound alarms, recorded histories, their\n"
    "exports and printed reports, and the sensor's stand-alone logging.\n"
    "\n"
    "A history file named on the command line opens in the history viewer at start.\n"
    "\n"
    "Options:\n"
    "  --help     show this help and exit\n"
    "\n"
    "Environment:\n"
    "  PELMORA_PORTS_DIR  folder of the COM port entries (default ~/.local/share/pelmora/ports)\n"
    "  PELMORA_USB_DIR    folder of the USB layer (default ~/.local/share/pelmora/usb)\n"
    "\n"
    "The user manual opens from Help > Help Topics; pelmora-cli(1) and pelmora-sim(1) work\n"
    "without a window.\n";
} // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    CPelmoraApp app(argc, argv);
    if (!app.InitInstance())
        return app.ExitInstance(1);
    return app.Run();
}
