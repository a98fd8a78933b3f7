#include "platform/CSoundOutputProbe.h"

#include "platform/CAppPaths.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {
// The kernel lists one card per line pair, or this text when there is none.
bool ListsACard(const std::string& cardsPath) {
    std::ifstream cards(cardsPath);
    std::string line;
    while (std::getline(cards, line)) {
        if (line.find_first_not_of(' ') != std::string::npos &&
            line.find("no soundcards") == std::string::npos)
            return true;
    }
    return false;
}

std::string RuntimeDirectory() {
    if (const char* directory = std::getenv("XDG_RUNTIME_DIR"); directory && *directory)
        return directory;
    return "/run/user/" + std::to_string(getuid());
}
} // namespace

CSoundOutputProbe::Places CSoundOutputProbe::SystemPlaces() {
    const char* server = std::getenv("PULSE_SERVER");
    return {"/proc/asound/cards", CAppPaths::Join(RuntimeDirectory(), "pulse/native"), server && *server};
}

bool CSoundOutputProbe::AnyOutput(const Places& places) {
    std::error_code error;
    return places.pulseServerNamed || std::filesystem::exists(places.pulseSocket, error) ||
           ListsACard(places.asoundCards);
}
