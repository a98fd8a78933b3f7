#include "gui/shell/CPelmoraApp.h"

int main(int argc, char** argv) {
    CPelmoraApp app(argc, argv);
    if (!app.InitInstance())
        return app.ExitInstance(1);
    return app.Run();
}
