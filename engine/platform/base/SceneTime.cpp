#include "platform/base/SceneTime.h"

#include <atomic>

namespace {

std::atomic<SceneTimeSource> g_source{nullptr};

}  // namespace

void SetSceneTimeSource(SceneTimeSource source) {
    g_source.store(source);
}

float CurrentSceneTime() {
    const SceneTimeSource source = g_source.load();
    return source != nullptr ? source() : 0.0f;
}
