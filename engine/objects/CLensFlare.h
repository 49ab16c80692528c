#pragma once
// A lens flare for a light at a position in the world: a row of textured
// spots, drawn as additively blended pre-transformed squares on the line from
// the light's place on the screen through the screen centre. The spots fade
// towards the minimum intensity as the light leaves the screen (fully at
// the intensity border, in pixels outside it), vanish while the light is
// behind the camera, and vanish while the object to obscure covers the
// light.
//
//   CLensFlare flare;                       // on the render thread
//   flare.Init();
//   flare.AddTexture("media/sprites/flare_glow.png");
//   flare.AddSpot(0, 0.3f, 1.0f, D3DXCOLOR(1.0f, 0.9f, 0.7f, 1.0f));
//   flare.SetLightPosition(0.0f, 50.0f, 200.0f);
//   flare.SetObjectToObscur(mountain);
//   ... every frame, after the scene:  flare.Render();
//
// The occluder is tested with its vertices moved by its position only: its
// rotation, pivot and direction frame are not applied. Only its triangles
// that face the light's pick ray count.

#include <vector>

#include "objects/CLensFlareSpot.h"
#include "objects/CMinMax.h"
#include "platform/d3d8/CDeviceHandle.h"
#include "platform/d3d8/d3d8.h"
#include "platform/d3dx/d3dx8math.h"
#include "scene/CObjects.h"

class CBaseObject;
class CScreen;

class CLensFlare : public CObjects {
public:
    CLensFlare();
    CLensFlare(const CLensFlare&) = delete;
    CLensFlare& operator=(const CLensFlare&) = delete;
    ~CLensFlare() override;

    // Takes the screen's device and resolution and builds the vertex buffer.
    bool Init() override;
    // Releases textures and spots too, so a flare is set up again after it
    // (also after the screen cleaned it up for a device reset).
    void CleanUp() override;
    void Render() override;

    void SetLightPosition(float x, float y, float z) { m_vLightPos = D3DXVECTOR3(x, y, z); }
    const D3DXVECTOR3& GetLightPosition() const { return m_vLightPos; }
    void SetIntensity(const CMinMax<float>& intensity) { m_Intensity = intensity; }
    const CMinMax<float>& GetIntensity() const { return m_Intensity; }
    void SetIntensityBorder(float border) { m_fIntensityBorder = border; }
    float GetIntensityBorder() const { return m_fIntensityBorder; }

    // A file that does not load adds nothing, so the textures after it take
    // lower indices.
    void AddTexture(const char* file);
    void DeleteTextures();
    int GetTextureNumber() const { return static_cast<int>(m_Textures.size()); }
    void AddSpot(unsigned int texture, float size, float linePos, D3DXCOLOR color);
    // Leaves no vertex buffer until the next spot.
    void DeleteSpots();
    const std::vector<CLensFlareSpot>& GetSpots() const { return m_Spots; }
    // Not owned: it must outlive the flare or be replaced first.
    void SetObjectToObscur(CBaseObject& object) { m_pObjectToObscur = &object; }
    IDirect3DVertexBuffer8* GetVB() const { return m_pVB.Get(); }

    // The Moller-Trumbore ray/triangle test, ignoring triangles that show
    // the ray their back (the front is clockwise as seen along the ray). t is
    // the distance in lengths of the direction (negative: behind the origin,
    // which counts as a hit too), u and v the weights of v1 and v2 at the hit.
    static bool DoesRayIntersectTriangle(const D3DXVECTOR3& origin, const D3DXVECTOR3& direction, const D3DXVECTOR3& v0,
                                         const D3DXVECTOR3& v1, const D3DXVECTOR3& v2, float& t, float& u, float& v);

protected:
    // Where the light lies on a width x height screen, in whole pixels (cut
    // towards zero); w < 0 when it is behind the camera.
    void CalcLightSourceScreenCoords(const D3DXVECTOR3& position, int width, int height, int& x, int& y, int& w) const;
    // Draws the spots for a light at pixel (x, y); with firstOnly every spot
    // but the first is transparent.
    void Render(int x, int y, int width, int height, bool firstOnly);
    bool IsLensFlareObscured();
    // The occluder's triangles the pick ray through pixel (x, y) meets.
    int NumObjectsAtPoint(int x, int y);

private:
    CScreen& Screen() const;
    // A buffer for the capacity's spots; none for capacity 0.
    void RecreateVB();
    // The brightness for a light at pixel (x, y), fading with its distance
    // outside the screen.
    float IntensityAt(int x, int y, int width, int height) const;
    void SetRenderStates();

    D3DXVECTOR3 m_vPickRayDir;
    CMinMax<float> m_Intensity{0.0f, 1.0f};
    float m_fIntensityBorder = 300.0f;
    CDeviceHandle<IDirect3DVertexBuffer8> m_pVB;
    int m_iVBSize = 1;  // in spots
    std::vector<CDeviceHandle<IDirect3DTexture8>> m_Textures;
    std::vector<CLensFlareSpot> m_Spots;
    CBaseObject* m_pObjectToObscur = nullptr;
    int m_iScreenWidth = 0;
    int m_iScreenHeight = 0;
    D3DXVECTOR3 m_vLightPos;
};
