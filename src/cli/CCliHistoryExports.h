#pragma once

#include "cli/CliCommand.h"

#include <vector>

class CHistoryDocument;

// "history bmp" and "history report": the viewer's bitmap export and the printed report,
// drawn by the same code as on screen, with Qt started offscreen on first use. They run in
// the helper program pelmora-cli-draw (see CCliDrawHelper).
class CCliHistoryExports {
public:
    // The viewer's client size before the main frame places it, and the bitmap's default.
    static constexpr int kDefaultWidth = 600;
    static constexpr int kDefaultHeight = 400;

    static std::vector<CliCommand> Commands();

private:
    static int Bitmap(const CliContext& context);
    static int Report(const CliContext& context);
    static bool Load(const CliContext& context, CHistoryDocument& document);
    static void EnsureApplication();
};
