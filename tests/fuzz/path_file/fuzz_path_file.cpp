// Feeds arbitrary bytes to a movement controller's Load through a file, as a
// host loading a path file does. A damaged file must be refused with a
// message and leave the path as it was, never crash or read past the text; a
// file that loads must evaluate anywhere along the path, save, and load again
// to the same text.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "../FuzzFiles.h"
#include "animation/CMove.h"
#include "platform/base/ErrorReport.h"

namespace {

using fuzzfiles::ReadFile;
using fuzzfiles::TemporaryFile;
using fuzzfiles::WriteFile;

struct SFiles {
    std::string input = TemporaryFile("lvx_path_in_XXXXXX");
    std::string saved = TemporaryFile("lvx_path_out_XXXXXX");
    std::string again = TemporaryFile("lvx_path_again_XXXXXX");
    ~SFiles() {
        std::remove(input.c_str());
        std::remove(saved.c_str());
        std::remove(again.c_str());
    }
};

int g_reports = 0;

// Everywhere along the path, and past both ends.
void Evaluate(CMove& move) {
    const float total = move.GetTotalDistance();
    float v[11];
    for (const float distance : {-1.0f, 0.0f, total * 0.37f, total * 0.99f, total, total + 1.0f}) {
        move.GetPosition(distance, v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9], v[10]);
        (void)move.GetSegment(distance);
    }
    move.GetCurrentPosition(v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9], v[10]);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    static const bool quiet = [] {
        SetErrorReportHandler([](const std::string&, const std::string&, ErrorIcon) { ++g_reports; });
        return true;
    }();
    (void)quiet;
    static SFiles files;
    WriteFile(files.input, data, size);

    // One point there already: Load appends to it.
    CMove move;
    move.AddPoint(1, 2, 3, 0, 0, 1, 4, 0, 1, 0, 1);
    move.SetFilename(files.saved);
    move.Save();
    const std::string before = ReadFile(files.saved);

    g_reports = 0;
    move.SetFilename(files.input);
    const bool loaded = move.Load();
    if (!loaded) {
        move.SetFilename(files.saved);
        move.Save();
        if (g_reports != 1 || ReadFile(files.saved) != before) {
            __builtin_trap();  // a refusal says why and changes nothing
        }
        return 0;
    }
    if (g_reports != 0 || move.GetNumberPoints() < 1) {
        __builtin_trap();
    }
    Evaluate(move);

    // What loaded saves, and what it saved loads to the same text.
    move.SetFilename(files.saved);
    if (!move.Save()) {
        __builtin_trap();
    }
    CMove again;
    again.SetFilename(files.saved);
    if (!again.Load()) {
        __builtin_trap();
    }
    again.SetFilename(files.again);
    if (!again.Save() || ReadFile(files.again) != ReadFile(files.saved)) {
        __builtin_trap();
    }
    return 0;
}
