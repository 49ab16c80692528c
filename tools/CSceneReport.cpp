#include "CSceneReport.h"

#include <cstdio>

#include "CDisplaySetup.h"
#include "CJsonWriter.h"
#include "animation/CCameraTrajectoryObject.h"
#include "animation/CTrajectoryObject.h"
#include "core/CScreen.h"
#include "meshes/CAnimFileMeshObject.h"
#include "meshes/CFileMeshObject.h"
#include "objects/CBmpFonts.h"
#include "objects/CBoxObject.h"
#include "objects/CCylinderObject.h"
#include "objects/CHeightMapObject.h"
#include "objects/CPlaneObject.h"
#include "objects/CSphereObject.h"
#include "objects/CTorusObject.h"
#include "scene/CMP3Player.h"
#include "scene/CScene.h"

SReportValue SReportValue::Number(std::string name, float value) {
    SReportValue v;
    v.name = std::move(name);
    v.kind = TKind::Number;
    v.numbers[0] = value;
    return v;
}

SReportValue SReportValue::Flag(std::string name, bool value) {
    SReportValue v;
    v.name = std::move(name);
    v.kind = TKind::Flag;
    v.flag = value;
    return v;
}

SReportValue SReportValue::Text(std::string name, std::string value) {
    SReportValue v;
    v.name = std::move(name);
    v.kind = TKind::Text;
    v.text = std::move(value);
    return v;
}

SReportValue SReportValue::Vector(std::string name, float x, float y, float z) {
    SReportValue v;
    v.name = std::move(name);
    v.kind = TKind::Vector;
    v.numbers[0] = x;
    v.numbers[1] = y;
    v.numbers[2] = z;
    return v;
}

SReportValue SReportValue::Color(std::string name, const D3DCOLORVALUE& color) {
    SReportValue v;
    v.name = std::move(name);
    v.kind = TKind::Color;
    v.numbers[0] = color.r;
    v.numbers[1] = color.g;
    v.numbers[2] = color.b;
    v.numbers[3] = color.a;
    return v;
}

namespace {

SReportValue VectorValue(const std::string& name, const D3DXVECTOR3& v) {
    return SReportValue::Vector(name, v.x, v.y, v.z);
}

const char* FillModeName(TFillMode mode) {
    switch (mode) {
    case FM_SOLID:
        return "solid";
    case FM_WIREFRAME:
        return "wireframe";
    case FM_POINT:
        return "point";
    }
    return "unknown";
}

const char* ProjectionName(ProjectionMode mode) {
    switch (mode) {
    case PM_PIXEL_OVERLAY:
        return "pixel overlay";
    case PM_SCREEN_OVERLAY:
        return "screen overlay";
    case PM_PERSPECTIVE:
        return "perspective";
    }
    return "unknown";
}

const char* OrientationName(TOrientation orientation) {
    switch (orientation) {
    case OR_FIXED:
        return "fixed";
    case OR_LOOK_AT_POSITION:
        return "look at position";
    case OR_LOOK_AT_OBJECT:
        return "look at object";
    case OR_FRONT:
        return "front";
    case OR_REAR:
        return "rear";
    }
    return "unknown";
}

std::string NameOf(const CObjects* object) {
    return object != nullptr ? std::string(object->GetObjName()) : std::string("<none>");
}

// The keyed values of the solids and planes beyond those of every base object.
void AddShapeValues(CBaseObject& object, std::vector<SReportValue>& values) {
    if (auto* box = dynamic_cast<CBoxObject*>(&object)) {
        float x = 0, y = 0, z = 0;
        box->GetSize(x, y, z);
        values.push_back(SReportValue::Vector("size", x, y, z));
    } else if (auto* cylinder = dynamic_cast<CCylinderObject*>(&object)) {
        float r1 = 0, r2 = 0;
        cylinder->GetRadius(r1, r2);
        values.push_back(SReportValue::Number("radius 1", r1));
        values.push_back(SReportValue::Number("radius 2", r2));
        values.push_back(SReportValue::Number("length", cylinder->GetLength()));
        values.push_back(SReportValue::Number("slices", static_cast<float>(cylinder->GetSliceNumber())));
        values.push_back(SReportValue::Number("stacks", static_cast<float>(cylinder->GetStackNumber())));
    } else if (auto* torus = dynamic_cast<CTorusObject*>(&object)) {
        float r1 = 0, r2 = 0;
        torus->GetRadius(r1, r2);
        values.push_back(SReportValue::Number("radius 1", r1));
        values.push_back(SReportValue::Number("radius 2", r2));
        values.push_back(SReportValue::Number("sides", static_cast<float>(torus->GetSideNumber())));
        values.push_back(SReportValue::Number("rings", static_cast<float>(torus->GetRingNumber())));
    } else if (auto* sphere = dynamic_cast<CSphereObject*>(&object)) {
        values.push_back(SReportValue::Number("slices", static_cast<float>(sphere->GetSliceNumber())));
        values.push_back(SReportValue::Number("stacks", static_cast<float>(sphere->GetStackNumber())));
    } else if (auto* plane = dynamic_cast<CPlaneObject*>(&object)) {
        float width = 0, height = 0;
        plane->GetSize(width, height);
        values.push_back(SReportValue::Number("width", width));
        values.push_back(SReportValue::Number("height", height));
        if (auto* text = dynamic_cast<CBmpFonts*>(&object)) {
            float zoomX = 0, zoomY = 0;
            text->GetZoomFactor(zoomX, zoomY);
            values.push_back(SReportValue::Text("text", std::string(text->GetText())));
            values.push_back(SReportValue::Number("zoom x", zoomX));
            values.push_back(SReportValue::Number("zoom y", zoomY));
        }
    }
}

void AddBaseObject(CBaseObject& object, SReportObject& report) {
    report.properties.push_back(SReportValue::Text("projection", ProjectionName(object.GetProjectionMode())));
    report.properties.push_back(SReportValue::Flag("visible", object.GetVisible()));
    report.properties.push_back(SReportValue::Text("texture", std::string(object.GetTexture(0))));
    if (auto* sphere = dynamic_cast<CSphereObject*>(&object)) {
        report.properties.push_back(SReportValue::Number("radius", sphere->GetRadius()));
    } else if (auto* terrain = dynamic_cast<CHeightMapObject*>(&object)) {
        report.properties.push_back(SReportValue::Text("height map", std::string(terrain->GetHeightMapFilename())));
        report.properties.push_back(SReportValue::Number("amplitude", terrain->GetMaxAmplitude()));
    } else if (auto* mesh = dynamic_cast<CFileMeshObject*>(&object)) {
        report.properties.push_back(SReportValue::Text("mesh", std::string(mesh->GetFilename())));
    } else if (auto* animated = dynamic_cast<CAnimFileMeshObject*>(&object)) {
        for (const CString& file : animated->GetFilenames()) {
            report.properties.push_back(SReportValue::Text("mesh", std::string(file)));
        }
    }

    // The plain getters read the current keyframe's key: step through them.
    const int current = object.GetCurrentKeyFrame();
    for (int i = 0; i < object.GetKeyFrameNumber(); ++i) {
        SReportKeyFrame key;
        key.id = object.GetKeyFrameID(i);
        key.time = object.GetKeyFrameTime(i);
        object.SetCurrentKeyFrame(key.id);
        key.values.push_back(VectorValue("position", object.GetPosition()));
        key.values.push_back(VectorValue("rotation", object.GetRotation()));
        key.values.push_back(SReportValue::Number("scale", object.GetScale()));
        key.values.push_back(SReportValue::Number("alpha", object.GetAlpha()));
        key.values.push_back(SReportValue::Color("color", object.GetDiffuseColor(0)));
        key.values.push_back(SReportValue::Text("fill mode", FillModeName(object.GetFillMode())));
        key.values.push_back(SReportValue::Flag("culling", object.GetCulling()));
        key.values.push_back(SReportValue::Flag("lighting", object.GetLighting()));
        key.values.push_back(SReportValue::Flag("facing camera", object.GetAlwaysFacingCamera()));
        AddShapeValues(object, key.values);
        report.keyFrames.push_back(std::move(key));
    }
    object.SetCurrentKeyFrame(current);
}

void AddCamera(CCameraTrajectoryObject& camera, SReportObject& report) {
    report.properties.push_back(SReportValue::Text("orientation", OrientationName(camera.GetOrientation())));
    report.properties.push_back(SReportValue::Text("look-at object", NameOf(camera.GetLookAtObject())));
    const int current = camera.GetCurrentKeyFrame();
    for (int i = 0; i < camera.GetKeyFrameNumber(); ++i) {
        SReportKeyFrame key;
        key.id = camera.GetKeyFrameID(i);
        key.time = camera.GetKeyFrameTime(i);
        camera.SetCurrentKeyFrame(key.id);
        key.values.push_back(VectorValue("position", camera.GetPosition()));
        key.values.push_back(VectorValue("look-at position", camera.GetLookAtPosition()));
        key.values.push_back(VectorValue("direction", camera.GetDirection()));
        key.values.push_back(SReportValue::Number("zoom", camera.GetZoom()));
        key.values.push_back(SReportValue::Number("weight", static_cast<float>(camera.GetWeight())));
        report.keyFrames.push_back(std::move(key));
    }
    camera.SetCurrentKeyFrame(current);
}

void AddTrajectory(CTrajectoryObject& trajectory, SReportObject& report) {
    report.properties.push_back(SReportValue::Text("orientation", OrientationName(trajectory.GetOrientation())));
    report.properties.push_back(SReportValue::Text("assigned object", NameOf(trajectory.GetAssignedObject())));
    report.properties.push_back(SReportValue::Text("look-at object", NameOf(trajectory.GetLookAtObject())));
    const CVectorInterpolation& path = trajectory.GetPath();
    for (int i = 0; i < path.GetNumberPoints(); ++i) {
        SReportKeyFrame key;
        key.id = path.GetPointIDFromIndex(i);
        key.time = path.GetPointTimeFromIndex(i);
        key.values.push_back(VectorValue("position", path.GetPointValueFromIndex(i)));
        report.keyFrames.push_back(std::move(key));
    }
}

SReportObject ReportObject(CObjects& object) {
    SReportObject report;
    report.type = object.GetObjType();
    report.name = object.GetObjName();
    report.description = object.GetObjDescription();
    if (auto* camera = dynamic_cast<CCameraTrajectoryObject*>(&object)) {
        AddCamera(*camera, report);
    } else if (auto* trajectory = dynamic_cast<CTrajectoryObject*>(&object)) {
        AddTrajectory(*trajectory, report);
    } else if (object.IsBaseObject()) {
        AddBaseObject(static_cast<CBaseObject&>(object), report);
    }
    return report;
}

std::string FormatNumber(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", static_cast<double>(value));
    return text;
}

std::string FormatValue(const SReportValue& value) {
    switch (value.kind) {
    case SReportValue::TKind::Number:
        return FormatNumber(value.numbers[0]);
    case SReportValue::TKind::Flag:
        return value.flag ? "yes" : "no";
    case SReportValue::TKind::Text:
        return value.text.empty() ? "(none)" : "\"" + value.text + "\"";
    case SReportValue::TKind::Vector:
        return "(" + FormatNumber(value.numbers[0]) + ", " + FormatNumber(value.numbers[1]) + ", " +
               FormatNumber(value.numbers[2]) + ")";
    case SReportValue::TKind::Color:
        return "(r " + FormatNumber(value.numbers[0]) + ", g " + FormatNumber(value.numbers[1]) + ", b " +
               FormatNumber(value.numbers[2]) + ", a " + FormatNumber(value.numbers[3]) + ")";
    }
    return {};
}

void WriteJsonValue(CJsonWriter& json, const SReportValue& value) {
    json.Key(value.name);
    switch (value.kind) {
    case SReportValue::TKind::Number:
        json.Number(value.numbers[0]);
        break;
    case SReportValue::TKind::Flag:
        json.Bool(value.flag);
        break;
    case SReportValue::TKind::Text:
        json.String(value.text);
        break;
    case SReportValue::TKind::Vector:
        json.BeginArray();
        for (int i = 0; i < 3; ++i)
            json.Number(value.numbers[i]);
        json.EndArray();
        break;
    case SReportValue::TKind::Color:
        json.BeginObject();
        json.Key("r");
        json.Number(value.numbers[0]);
        json.Key("g");
        json.Number(value.numbers[1]);
        json.Key("b");
        json.Number(value.numbers[2]);
        json.Key("a");
        json.Number(value.numbers[3]);
        json.EndObject();
        break;
    }
}

void WriteJsonValues(CJsonWriter& json, const std::string& key, const std::vector<SReportValue>& values) {
    json.Key(key);
    json.BeginObject();
    for (const SReportValue& value : values)
        WriteJsonValue(json, value);
    json.EndObject();
}

}  // namespace

std::string CSceneReport::ResolutionName(int index) {
    static const char* const names[] = {"desktop resolution", "640 x 480",   "800 x 600",
                                        "1024 x 768",         "1280 x 1024", "1600 x 1200"};
    if (index >= 0 && index <= 5)
        return names[index];
    return "unknown (" + std::to_string(index) + ")";
}

SSceneReport CSceneReport::Build(CScene& scene, CScreen& screen, const std::string& path, const SSceneFileInfo& file) {
    SSceneReport report;
    report.path = path;
    report.file = file;
    auto& settings = report.settings;
    settings.push_back(SReportValue::Color("background color", screen.GetBackgroundColor()));
    settings.push_back(SReportValue::Flag("background image", scene.HasBackgroundImage()));
    settings.push_back(SReportValue::Text("background texture", std::string(scene.GetBackgroundImage().GetTexture(0))));
    settings.push_back(SReportValue::Flag("sky box", scene.HasSkyBox()));
    CSkyBoxObject& sky = scene.GetSkyBox();
    settings.push_back(SReportValue::Text("sky box back", std::string(sky.GetBackPicture())));
    settings.push_back(SReportValue::Text("sky box front", std::string(sky.GetFrontPicture())));
    settings.push_back(SReportValue::Text("sky box top", std::string(sky.GetTopPicture())));
    settings.push_back(SReportValue::Text("sky box bottom", std::string(sky.GetBottomPicture())));
    settings.push_back(SReportValue::Text("sky box left", std::string(sky.GetLeftPicture())));
    settings.push_back(SReportValue::Text("sky box right", std::string(sky.GetRightPicture())));
    settings.push_back(SReportValue::Flag("fog", screen.IsFogEnabled()));
    settings.push_back(SReportValue::Number("fog density", screen.GetFogDensity()));
    settings.push_back(SReportValue::Number("fog start", screen.GetFogStart()));
    settings.push_back(SReportValue::Number("fog end", screen.GetFogEnd()));
    settings.push_back(SReportValue::Color("fog color", screen.GetFogColor()));
    settings.push_back(SReportValue::Number("total time", screen.GetTotalTime()));
    settings.push_back(SReportValue::Flag("loop", screen.IsLoop()));
    CMP3Player& music = screen.GetSound();
    settings.push_back(SReportValue::Flag("music", music.GetEnable()));
    settings.push_back(SReportValue::Flag("music loop", music.GetLoop()));
    settings.push_back(SReportValue::Text("music file", std::string(music.GetPath())));

    // A loaded list holds the file's records in reverse order.
    scene.Lock();
    for (int i = scene.GetObjectNumber() - 1; i >= 0; --i) {
        if (CObjects* object = scene.GetObjectA(i))
            report.objects.push_back(ReportObject(*object));
    }
    scene.Unlock();
    return report;
}

void CSceneReport::WriteText(const SSceneReport& report, std::ostream& out) {
    const SSceneFileInfo& file = report.file;
    const SScreenSetup setup = CDisplaySetup::FromDisplayFormat(file.displayFormat);
    out << "Scene: " << report.path << "\n";
    out << "  File: " << (file.packed ? "package (program image in front, files inside)" : "plain scene file") << ", "
        << file.fileSize << " bytes, scene data " << file.dataLength << " bytes at offset " << file.dataOffset << "\n";
    out << "  Display format: " << ResolutionName(file.displayFormat.m_iResolution) << ", "
        << (setup.fullscreen ? "full screen" : "windowed") << (setup.screenSaver ? ", screensaver" : "")
        << " (resolution index " << file.displayFormat.m_iResolution << ", flags " << file.displayFormat.m_iFlags
        << "), title \"" << std::string(file.displayFormat.m_Name) << "\"\n";
    out << "Settings:\n";
    for (const SReportValue& value : report.settings)
        out << "  " << value.name << ": " << FormatValue(value) << "\n";
    if (!report.missingFiles.empty()) {
        // The scene names them, but they lie neither where it says nor beside it.
        out << "Missing files: " << report.missingFiles.size() << "\n";
        for (const std::string& missing : report.missingFiles)
            out << "  \"" << missing << "\"\n";
    }
    out << "Objects: " << report.objects.size() << "\n";
    for (const SReportObject& object : report.objects) {
        out << "  " << object.type << " \"" << object.name << "\"";
        if (!object.description.empty())
            out << " (" << object.description << ")";
        out << ", " << object.keyFrames.size() << " key frame" << (object.keyFrames.size() == 1 ? "" : "s") << "\n";
        for (const SReportValue& value : object.properties) {
            out << "    " << value.name << ": " << FormatValue(value) << "\n";
        }
        for (const SReportKeyFrame& key : object.keyFrames) {
            out << "    key " << key.id << " at " << FormatNumber(key.time) << " s:";
            const char* separator = " ";
            for (const SReportValue& value : key.values) {
                out << separator << value.name << " " << FormatValue(value);
                separator = ", ";
            }
            out << "\n";
        }
    }
}

void CSceneReport::WriteJson(const SSceneReport& report, std::ostream& out) {
    const SSceneFileInfo& file = report.file;
    const SScreenSetup setup = CDisplaySetup::FromDisplayFormat(file.displayFormat);
    CJsonWriter json(out);
    json.BeginObject();
    json.Key("path");
    json.String(report.path);
    json.Key("packed");
    json.Bool(file.packed);
    json.Key("file size");
    json.Integer(static_cast<long long>(file.fileSize));
    json.Key("scene data offset");
    json.Integer(static_cast<long long>(file.dataOffset));
    json.Key("scene data length");
    json.Integer(static_cast<long long>(file.dataLength));
    json.Key("display format");
    json.BeginObject();
    json.Key("resolution index");
    json.Integer(file.displayFormat.m_iResolution);
    json.Key("resolution");
    json.String(ResolutionName(file.displayFormat.m_iResolution));
    json.Key("flags");
    json.Integer(file.displayFormat.m_iFlags);
    json.Key("screensaver");
    json.Bool(setup.screenSaver);
    json.Key("windowed");
    json.Bool(!setup.fullscreen);
    json.Key("title");
    json.String(std::string(file.displayFormat.m_Name));
    json.EndObject();
    WriteJsonValues(json, "settings", report.settings);
    json.Key("missing files");
    json.BeginArray();
    for (const std::string& missing : report.missingFiles)
        json.String(missing);
    json.EndArray();
    json.Key("objects");
    json.BeginArray();
    for (const SReportObject& object : report.objects) {
        json.BeginObject();
        json.Key("type");
        json.String(object.type);
        json.Key("name");
        json.String(object.name);
        json.Key("description");
        json.String(object.description);
        WriteJsonValues(json, "properties", object.properties);
        json.Key("key frames");
        json.BeginArray();
        for (const SReportKeyFrame& key : object.keyFrames) {
            json.BeginObject();
            json.Key("id");
            json.Integer(key.id);
            json.Key("time");
            json.Number(key.time);
            WriteJsonValues(json, "values", key.values);
            json.EndObject();
        }
        json.EndArray();
        json.EndObject();
    }
    json.EndArray();
    json.EndObject();
}
