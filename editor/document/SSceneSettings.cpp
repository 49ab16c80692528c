#include "document/SSceneSettings.h"

#include "core/CScreen.h"
#include "document/CEditorDocument.h"
#include "scene/CMP3Player.h"
#include "scene/CScene.h"

namespace {

bool SameColor(const D3DCOLORVALUE& a, const D3DCOLORVALUE& b) {
    return a.r == b.r && a.g == b.g && a.b == b.b && a.a == b.a;
}

// A face's picture is loaded again only when its name changes: loading is
// slow and would drop a picture whose file has gone from the disk since.
template <class TSetter>
void SetPicture(CSkyBoxObject& skyBox, const CString& current, const CString& wanted, TSetter setter) {
    if (current != wanted) {
        (skyBox.*setter)(wanted);
    }
}

}  // namespace

SSceneSettings SSceneSettings::Read(CScreen& screen, CScene& scene) {
    SSceneSettings settings;
    settings.totalTime = screen.GetTotalTime();
    settings.loop = screen.IsLoop();
    settings.backgroundColor = screen.GetBackgroundColor();
    {
        CSceneLock lock(scene);
        if (scene.HasSkyBox()) {
            settings.background = EBackground::SkyBox;
        } else if (scene.HasBackgroundImage()) {
            settings.background = EBackground::Bitmap;
        } else {
            settings.background = EBackground::PlainColor;
        }
        const CSkyBoxObject& skyBox = scene.GetSkyBox();
        settings.skyBox[kTop] = skyBox.GetTopPicture();
        settings.skyBox[kBottom] = skyBox.GetBottomPicture();
        settings.skyBox[kLeft] = skyBox.GetLeftPicture();
        settings.skyBox[kRight] = skyBox.GetRightPicture();
        settings.skyBox[kBack] = skyBox.GetBackPicture();
        settings.skyBox[kFront] = skyBox.GetFrontPicture();
        settings.backgroundImage = scene.GetBackgroundImage().GetTexture(0);
    }
    settings.fog = screen.IsFogEnabled();
    settings.fogColor = screen.GetFogColor();
    settings.fogStart = screen.GetFogStart();
    settings.fogEnd = screen.GetFogEnd();
    settings.fogDensity = screen.GetFogDensity();
    CMP3Player& player = screen.GetSound();
    settings.musicPath = player.GetPath();
    settings.musicLoop = player.GetLoop();
    settings.musicEnabled = player.GetEnable();
    return settings;
}

void SSceneSettings::Apply(CScreen& screen, CScene& scene, unsigned parts) const {
    if ((parts & kTime) != 0) {
        ApplyTime(screen);
    }
    if ((parts & kBackground) != 0) {
        ApplyBackground(screen, scene);
    }
    if ((parts & kFog) != 0) {
        ApplyFog(screen);
    }
    if ((parts & kMusic) != 0) {
        ApplyMusic(screen.GetSound());
    }
}

void SSceneSettings::ApplyTime(CScreen& screen) const {
    screen.SetLoop(loop);
    screen.SetTotalTime(totalTime);
}

void SSceneSettings::ApplyBackground(CScreen& screen, CScene& scene) const {
    screen.SetBackgroundColor(backgroundColor);
    CSceneLock lock(scene);
    scene.EnableSkyBox(background == EBackground::SkyBox);
    scene.EnableBackgroundImage(background == EBackground::Bitmap);
    CSkyBoxObject& box = scene.GetSkyBox();
    SetPicture(box, box.GetTopPicture(), skyBox[kTop], &CSkyBoxObject::SetTopPicture);
    SetPicture(box, box.GetBottomPicture(), skyBox[kBottom], &CSkyBoxObject::SetBottomPicture);
    SetPicture(box, box.GetLeftPicture(), skyBox[kLeft], &CSkyBoxObject::SetLeftPicture);
    SetPicture(box, box.GetRightPicture(), skyBox[kRight], &CSkyBoxObject::SetRightPicture);
    SetPicture(box, box.GetFrontPicture(), skyBox[kFront], &CSkyBoxObject::SetFrontPicture);
    SetPicture(box, box.GetBackPicture(), skyBox[kBack], &CSkyBoxObject::SetBackPicture);
    CPlaneObject& plane = scene.GetBackgroundImage();
    if (plane.GetTexture(0) != backgroundImage) {
        plane.SetTexture(backgroundImage, 0);
    }
}

void SSceneSettings::ApplyFog(CScreen& screen) const {
    screen.EnableFog(fog);
    screen.SetFogStart(fogStart);
    screen.SetFogEnd(fogEnd);
    screen.SetFogDensity(fogDensity);
    screen.SetFogColor(fogColor);
}

void SSceneSettings::ApplyMusic(CMP3Player& player) const {
    player.Stop();
    player.Kill();
    player.SetLoop(musicLoop);
    player.SetEnable(musicEnabled);
    // The same path is not set again: a packed scene plays a copy it
    // extracted, and setting the path would make the player forget it.
    if (player.GetPath() != musicPath) {
        player.SetPath(musicPath);
    }
    player.Initialize();
}

unsigned SSceneSettings::DifferingParts(const SSceneSettings& other) const {
    unsigned parts = 0;
    if (totalTime != other.totalTime || loop != other.loop) {
        parts |= kTime;
    }
    if (background != other.background || !SameColor(backgroundColor, other.backgroundColor) ||
        skyBox != other.skyBox || backgroundImage != other.backgroundImage) {
        parts |= kBackground;
    }
    if (fog != other.fog || !SameColor(fogColor, other.fogColor) || fogStart != other.fogStart ||
        fogEnd != other.fogEnd || fogDensity != other.fogDensity) {
        parts |= kFog;
    }
    if (musicPath != other.musicPath || musicLoop != other.musicLoop || musicEnabled != other.musicEnabled) {
        parts |= kMusic;
    }
    return parts;
}
