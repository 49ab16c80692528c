#include "view/CTrajectoryDump.h"

#include <pwd.h>
#include <unistd.h>

#include <charconv>
#include <cstdlib>

#include "animation/CCameraTrajectoryObject.h"
#include "document/CEditorDocument.h"
#include "objects/CBaseObject.h"
#include "platform/files/CAtomicFile.h"
#include "scene/CScene.h"

namespace {

const std::string kSeparator(43, '-');

// As printf's "%f" in the C locale.
std::string Fixed(float value) {
    char buffer[64];
    const std::to_chars_result result =
        std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value), std::chars_format::fixed, 6);
    return std::string(buffer, result.ptr);
}

void AppendKeyFrame(std::string& text, int index, float time, const D3DXVECTOR3& position) {
    text += "Keyframe " + std::to_string(index) + ": time: " + Fixed(time) + "  position X: " + Fixed(position.x) +
            " position Y: " + Fixed(position.y) + " position Z: " + Fixed(position.z) + "\n";
}

void AppendObject(std::string& text, CObjects& object) {
    text += kSeparator + "\n";
    text += "Name: " + object.GetObjName() + "\n";
    text += kSeparator + "\n";
    if (object.IsBaseObject()) {
        const auto& keyed = static_cast<const CBaseObject&>(object);
        for (int k = 0; k < keyed.GetKeyFrameNumber(); ++k) {
            const float time = keyed.GetKeyFrameTime(k);
            AppendKeyFrame(text, k, time, keyed.GetCurrentPosition(time));
        }
    } else if (object.GetObjType() == "CCameraTrajectoryObject") {
        const auto& camera = static_cast<const CCameraTrajectoryObject&>(object);
        for (int k = 0; k < camera.GetKeyFrameNumber(); ++k) {
            const float time = camera.GetKeyFrameTime(k);
            AppendKeyFrame(text, k, time, camera.GetCurrentPosition(time));
        }
    }
}

}  // namespace

std::string CTrajectoryDump::Text(CScene& scene) {
    // The render thread reorders the object list while it draws.
    CSceneLock lock(scene);
    std::string text = "Dump of the trajectories\n";
    const int count = scene.GetObjectNumber();
    for (int index = 0; index < count; ++index) {
        if (CObjects* object = scene.GetObjectA(index)) {
            AppendObject(text, *object);
        }
    }
    return text;
}

bool CTrajectoryDump::Write(CScene& scene, const std::string& path, std::string* error) {
    const std::string text = Text(scene);
    std::string reason;
    if (!CAtomicFile::WriteWhole(path, text.data(), text.size(), reason)) {
        if (error != nullptr) {
            *error = reason;
        }
        return false;
    }
    return true;
}

std::string CTrajectoryDump::DefaultPath() {
    std::string home;
    if (const char* variable = std::getenv("HOME"); variable != nullptr && variable[0] != '\0') {
        home = variable;
    } else if (const passwd* entry = getpwuid(getuid()); entry != nullptr && entry->pw_dir != nullptr) {
        home = entry->pw_dir;
    }
    if (home.empty()) {
        return kFileName;
    }
    if (home.back() != '/') {
        home += '/';
    }
    return home + kFileName;
}
