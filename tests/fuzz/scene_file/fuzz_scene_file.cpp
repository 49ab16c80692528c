// Feeds arbitrary bytes to the scene-file reader the way a scene load does:
// trailer, header, scene settings with embedded files, object records whose
// objects read curves. Damaged data may throw CSceneFileException; it must
// never crash or read outside the data.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "animation/CBoolInterpolation.h"
#include "animation/CColorInterpolation.h"
#include "animation/CStringInterpolation.h"
#include "animation/CVectorInterpolation.h"
#include "platform/base/ErrorReport.h"
#include "scene/CObjectFactory.h"
#include "scene/CObjects.h"
#include "scene/CScene.h"
#include "scene/CSceneFile.h"

namespace {

// An object made of every kind of curve, as keyed objects are.
class CCurvesObject : public CObjects {
public:
    bool Load(CSceneFile& file) override {
        m_position.Load(file);
        m_color.Load(file);
        m_visible.Load(file);
        m_text.Load(file);
        m_position.GetValue(1.5f);
        m_color.GetValue(0.25f);
        m_visible.GetValue(3.0f);
        m_text.GetValue(2.0f);
        return CObjects::Load(file);
    }

private:
    CVectorInterpolation m_position;
    CColorInterpolation m_color;
    CBoolInterpolation m_visible;
    CStringInterpolation m_text;
};

void ReadScene(CSceneFile& file) {
    if (!file.ReadHeader()) {
        return;
    }
    file.ReadBool();
    file.ReadBool();
    for (int i = 0; i < 7; ++i) {
        file.ReadFile();  // sky box pictures and background texture
        BYTE* data = nullptr;
        file.GetFile("sky.bmp", data);
    }
    file.ReadColor();
    file.ReadBool();
    file.ReadFloat();
    file.ReadVector();
    file.ReadMaterial();
    const unsigned int count = file.ReadCount(8);
    for (unsigned int i = 0; i < count; ++i) {
        std::unique_ptr<CObjects> object(file.Read());
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    static const bool prepared = [] {
        SetErrorReportHandler([](const std::string&, const std::string&, ErrorIcon) {});
        return CObjectFactory::Register("CCurvesObject", [] { return new CCurvesObject(); });
    }();
    (void)prepared;

    // Packed mode only: plain mode would open whatever paths the input names.
    CScene scene;
    CSceneFile file(scene, true, "");
    if (!file.LoadData(std::vector<BYTE>(bytes, bytes + size))) {
        return 0;
    }
    try {
        ReadScene(file);
    } catch (const CSceneFileException&) {
    }
    return 0;
}
