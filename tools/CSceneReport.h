#pragma once
// What "lumivexis info" tells about a scene: its file (plain or packed, the
// display format of its trailer), the scene settings (background, sky box,
// fog, time, loop, music) and every object with its type, name and key
// frames, each key frame with the value of every curve at that key.
//
// Build reads a loaded scene (and the settings the load gave the screen);
// the writers turn the report into text for people or JSON for scripts.

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "CSceneFileProbe.h"
#include "platform/base/D3DTypes.h"

class CScene;
class CScreen;

// One named value: a number, a flag, a text, a vector (x, y, z) or a colour
// (r, g, b, a).
struct SReportValue {
    enum class TKind {
        Number,
        Flag,
        Text,
        Vector,
        Color
    };

    std::string name;
    TKind kind = TKind::Number;
    float numbers[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    bool flag = false;
    std::string text;

    static SReportValue Number(std::string name, float value);
    static SReportValue Flag(std::string name, bool value);
    static SReportValue Text(std::string name, std::string value);
    static SReportValue Vector(std::string name, float x, float y, float z);
    static SReportValue Color(std::string name, const D3DCOLORVALUE& color);
};

struct SReportKeyFrame {
    int id = 0;
    float time = 0.0f;
    std::vector<SReportValue> values;
};

struct SReportObject {
    std::string type;
    std::string name;
    std::string description;
    // Values that are not keyed (files, references, counts).
    std::vector<SReportValue> properties;
    std::vector<SReportKeyFrame> keyFrames;
};

struct SSceneReport {
    std::string path;
    SSceneFileInfo file;
    std::vector<SReportValue> settings;
    // Files the scene names that could not be found; the values that name
    // them read as empty, as they do for the player.
    std::vector<std::string> missingFiles;
    std::vector<SReportObject> objects;  // in file order
};

class CSceneReport {
public:
    static SSceneReport Build(CScene& scene, CScreen& screen, const std::string& path, const SSceneFileInfo& file);
    static void WriteText(const SSceneReport& report, std::ostream& out);
    static void WriteJson(const SSceneReport& report, std::ostream& out);

    // "desktop resolution", "640 x 480", ...; "unknown (7)" out of range.
    static std::string ResolutionName(int index);
};
