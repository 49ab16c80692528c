#pragma once
// A point-sprite particle system. Every update it emits a random number of
// particles per second inside a box around its position, each with a random
// lifetime, size, velocity and start and end colour; it moves them under
// gravity, fades their colour linearly from start to end over their life
// and draws them as textured point sprites, in batches through one dynamic
// vertex buffer. The particles live in a fixed pool of 2000 recycled slots:
// nothing is allocated per frame or per particle.
//
//   CParticleEmitter fire;                  // on the render thread
//   fire.Load("media/particles/fire.txt");  // may throw CParticleFileException
//   fire.Init();                            // device objects, texture included
//   ... every frame:  fire.Render();        // updates to the scene time, draws
//
// The settings go to and come from a small text file (CParticleSystemFile).
// Particle sizes are point-sprite sizes scaled by distance: a particle of
// size s at distance d from the camera is (viewport height) x s / d pixels
// wide, at most 200. Emitters are not part of scene files.

#include <cstdio>
#include <string>

#include "objects/BlendingMode.h"
#include "objects/CMinMax.h"
#include "objects/CRecyclingArray.h"
#include "objects/SParticle.h"
#include "platform/base/CString.h"
#include "platform/base/WinTypes.h"
#include "platform/d3d8/CDeviceHandle.h"
#include "platform/d3d8/d3d8.h"
#include "platform/d3dx/d3dx8math.h"
#include "scene/CObjects.h"

class CParticleSystemFile;
class CScreen;

class CParticleEmitter : public CObjects {
public:
    // The pool's slots: no emitter has more particles alive.
    static constexpr int kPoolSize = 2000;
    // Point-sprite vertex: x, y, z, size, diffuse colour.
    static constexpr DWORD kVertexFormat = D3DFVF_XYZ | D3DFVF_PSIZE | D3DFVF_DIFFUSE;
    static constexpr UINT kVertexSize = 20;
    // The blend factors the files name, in D3DBLEND order.
    static const BLENDINGMODE m_BlendingModes[NUMBLENDINGMODES];

    CParticleEmitter();
    CParticleEmitter(const CParticleEmitter&) = delete;
    CParticleEmitter& operator=(const CParticleEmitter&) = delete;
    ~CParticleEmitter() override;

    // Takes the screen's device and makes the device objects (texture and
    // vertex buffer); the pool starts empty.
    bool Init() override;
    void CleanUp() override;
    // Updates to the current scene time, then draws the living particles.
    void Render() override;
    using CObjects::Load;
    using CObjects::Save;

    // Ages, moves and frees the particles by `elapsed` seconds, then emits.
    virtual void Update(float time, float elapsed);
    // Empties the pool, loads the texture (its failure is the result, the
    // buffer is made anyway) and makes the vertex buffer.
    virtual HRESULT RestoreDeviceObjects(IDirect3DDevice8* device);
    virtual void InvalidateDeviceObjects();

    // ------------------------------------------------------------ settings
    const D3DXVECTOR3& GetPos() const { return m_vPos; }
    void SetPos(const D3DXVECTOR3& position) { m_vPos = position; }
    const D3DXVECTOR3& GetGravity() const { return m_vGravity; }
    void SetGravity(const D3DXVECTOR3& gravity) { m_vGravity = gravity; }
    const D3DXVECTOR3& GetSpawnDir1() const { return m_vSpawnDir1; }
    void SetSpawnDir1(const D3DXVECTOR3& direction) { m_vSpawnDir1 = direction; }
    const D3DXVECTOR3& GetSpawnDir2() const { return m_vSpawnDir2; }
    void SetSpawnDir2(const D3DXVECTOR3& direction) { m_vSpawnDir2 = direction; }
    // Half the size of the box new particles appear in, per axis.
    const D3DXVECTOR3& GetEmitRadius() const { return m_vEmitRadius; }
    void SetEmitRadius(const D3DXVECTOR3& radius) { m_vEmitRadius = radius; }

    const D3DXCOLOR& GetStartColor1() const { return m_StartColor1; }
    void SetStartColor1(const D3DXCOLOR& color) { m_StartColor1 = color; }
    const D3DXCOLOR& GetStartColor2() const { return m_StartColor2; }
    void SetStartColor2(const D3DXCOLOR& color) { m_StartColor2 = color; }
    const D3DXCOLOR& GetEndColor1() const { return m_EndColor1; }
    void SetEndColor1(const D3DXCOLOR& color) { m_EndColor1 = color; }
    const D3DXCOLOR& GetEndColor2() const { return m_EndColor2; }
    void SetEndColor2(const D3DXCOLOR& color) { m_EndColor2 = color; }

    // Particles per second.
    CMinMax<float> GetEmitRate() const { return m_EmitRate; }
    void SetEmitRate(CMinMax<float> rate) { m_EmitRate = rate; }
    // Seconds.
    CMinMax<float> GetLifetime() const { return m_Lifetime; }
    void SetLifetime(CMinMax<float> lifetime) { m_Lifetime = lifetime; }
    CMinMax<float> GetSize() const { return m_Size; }
    void SetSize(CMinMax<float> size) { m_Size = size; }

    // D3DBLEND values.
    int GetSrcBlendMode() const { return m_iSrcBlendMode; }
    void SetSrcBlendMode(int mode) { m_iSrcBlendMode = mode; }
    int GetDestBlendMode() const { return m_iDestBlendMode; }
    void SetDestBlendMode(int mode) { m_iDestBlendMode = mode; }

    // Emission stops while this many particles live (never more than 2000).
    int GetMaxParticles() const { return m_iMaxParticles; }
    void SetMaxParticles(int count) { m_iMaxParticles = count; }
    // Vertices per batch; takes effect at the next RestoreDeviceObjects.
    int GetVBSize() const { return m_iVBSize; }
    void SetVBSize(int vertices) { m_iVBSize = vertices; }

    const CString& GetTextureFilename() const { return m_strTexFilename; }
    IDirect3DTexture8* GetTexture() const { return m_texParticle.Get(); }
    // Stores the name and, once a device is known, loads the texture in
    // place of the old one (none when the file does not load).
    void SetTexture(const char* file);

    int GetNumActiveParticles() const { return m_Particles.GetNumUsedElements(); }
    // The pool, to look at the particles (slots not alive hold old particles).
    const CRecyclingArray<SParticle, kPoolSize>& GetParticles() const { return m_Particles; }
    // Empties the pool; the next update counts from the current scene time.
    void Reset();

    // ---------------------------------------------------------------- files
    // False on failure, with the reason in GetLastError. Load throws
    // CParticleFileException when the file cannot be opened; settings read
    // before a failure stay changed. Load leaves the texture to be loaded by
    // RestoreDeviceObjects or SetTexture.
    bool Save(const char* path);
    bool Load(const char* path);
    const CString& GetLastError() const { return m_strLastError; }

    // A random value from a to a + |b - a|, from the C library's rand().
    static float RandomNumber(float a, float b);
    static float RandomNumber(const CMinMax<float>& range) { return RandomNumber(range.m_Min, range.m_Max); }

private:
    CScreen& Screen() const;
    void AgeParticles(float elapsed);
    // How many to emit in `elapsed` seconds, the fractions carried over.
    int EmissionCount(float elapsed);
    void Emit(SParticle& particle) const;
    std::string SettingsText() const;
    template <class TWork>
    bool CaptureFailure(TWork work);
    void ReadSettings(const CParticleSystemFile& file);
    void SetRenderStates();
    // Streams the living particles through the vertex buffer.
    void DrawParticles();
    void RestoreRenderStates();
    static const char* BlendModeName(int mode);
    // A table name in any letter case; an unknown one throws.
    static int BlendModeFromName(const std::string& name);

    CString m_strLastError;
    D3DXVECTOR3 m_vGravity{0.0f, 0.0f, 0.0f};
    D3DXVECTOR3 m_vPos{0.0f, 0.0f, 0.0f};
    CMinMax<float> m_EmitRate{1.0f, 10.0f};
    CMinMax<float> m_Lifetime{0.0f, 0.0f};
    CMinMax<float> m_Size{20.0f, 100.0f};
    D3DXCOLOR m_StartColor1{1.0f, 1.0f, 1.0f, 1.0f};
    D3DXCOLOR m_StartColor2{1.0f, 1.0f, 1.0f, 1.0f};
    D3DXCOLOR m_EndColor1{1.0f, 1.0f, 1.0f, 1.0f};
    D3DXCOLOR m_EndColor2{1.0f, 1.0f, 1.0f, 1.0f};
    D3DXVECTOR3 m_vSpawnDir1{-1.0f, -1.0f, -1.0f};
    D3DXVECTOR3 m_vSpawnDir2{1.0f, 1.0f, 1.0f};
    D3DXVECTOR3 m_vEmitRadius{1.0f, 1.0f, 1.0f};
    int m_iSrcBlendMode = D3DBLEND_ONE;
    int m_iDestBlendMode = D3DBLEND_ONE;
    CDeviceHandle<IDirect3DVertexBuffer8> m_vbParticles;
    CString m_strTexFilename;
    CDeviceHandle<IDirect3DTexture8> m_texParticle;
    int m_iVBSize = 200;
    float m_fNumNewPartsExcess = 0.0f;
    int m_iMaxParticles = kPoolSize;
    D3DXMATRIX m_matWorld;
    CRecyclingArray<SParticle, kPoolSize> m_Particles;
    float m_fLastUpdate = 0.0f;
    float m_fLastFrameTime = 0.0f;
};
