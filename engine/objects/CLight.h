#pragma once
// One light slot of the device: the light's description, the slot it goes
// to and whether the slot is on. Every setter writes the light to the
// device at once. Slot 0 is the scene's main light: its direction is also
// the light vector the shader effects light with.
//
//   CLight light;
//   light.Init();                        // on the render thread
//   light.SetDirection(0.0f, -1.0f, 1.0f);
//
// Lights are not stored in scene files, and the light stays set on the
// device when the object is cleaned up.

#include "platform/base/D3DTypes.h"
#include "platform/base/WinTypes.h"
#include "platform/d3dx/d3dx8math.h"
#include "scene/CObjects.h"

class CLight : public CObjects {
public:
    // A white directional light pointing down, for slot 0, switched on.
    CLight();

    // Takes the screen's device, writes the light to its slot, switches the
    // slot on or off and publishes the light vector.
    bool Init() override;
    // Only unregisters: the device keeps the light.
    void CleanUp() override;

    // Any non-zero value switches the slot on.
    void Enable(int enable);
    // The slot of the next write; the old slot keeps what it had.
    void SetIndex(DWORD index);
    void SetPosition(float x, float y, float z);
    void SetPosition(const D3DXVECTOR3& position);
    void SetDirection(float x, float y, float z);
    void SetDirection(const D3DXVECTOR3& direction);
    void SetProperties(D3DLIGHTTYPE type, D3DCOLORVALUE diffuse, D3DCOLORVALUE specular, D3DCOLORVALUE ambient,
                       float range, float falloff, float attenuation0, float attenuation1, float attenuation2,
                       float theta, float phi);

    const D3DLIGHT8& GetLight() const { return m_Light; }
    DWORD GetIndex() const { return m_dwIndex; }
    bool IsEnabled() const { return m_bEnabled != 0; }

private:
    // Publishes the direction of slot 0 to the screen, then writes the light.
    void UpdateLightVector();

    D3DLIGHT8 m_Light{};
    DWORD m_dwIndex = 0;
    BOOL m_bEnabled = TRUE;
};
