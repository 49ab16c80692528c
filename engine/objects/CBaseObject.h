#pragma once
// The renderable scene object every visible object derives from. It owns
// what a triangle mesh needs to be drawn by the fixed-function pipeline (or
// by an attached shader effect): vertex and index buffers, one material and
// texture per material range, an effect texture, the transform and the
// render states.
//
// Everything that may change over time (alpha, fill mode, colour, position,
// rotation, culling, lighting, facing the camera, scale) is a keyed curve.
// All curves share one set of keyframes: a keyframe is one key with the same
// identifier and time in every curve. The plain setters edit the key of the
// current keyframe; Render evaluates every curve at the scene clock's time.
//
// A derived class supplies the geometry: it sizes the buffers
// (SetNumberVertices, SetNumberFaces), fills them through LockVB / LockIB,
// unlocks them with UnlockVB (which computes normals, bounds and scale) and
// calls GeometryChanged; it calls the base for everything else.
//
// Scale is not part of the world matrix: the vertex positions themselves are
// scaled about the local origin whenever the scale curve's value changes.

#include <vector>

#include "animation/CBoolInterpolation.h"
#include "animation/CColorInterpolation.h"
#include "animation/CInterpolation.h"
#include "animation/CKeyFrameCurves.h"
#include "animation/CVectorInterpolation.h"
#include "objects/CDeviceObject.h"
#include "objects/CResetOnCopy.h"
#include "objects/ObjectTypes.h"
#include "platform/base/CString.h"
#include "platform/d3d8/CDeviceHandle.h"
#include "platform/d3d8/d3d8.h"
#include "platform/d3dx/d3dx8math.h"

class CMove;
class CShaderEffect;

class CBaseObject : public CDeviceObject {
public:
    CBaseObject();
    // A copy has the same names, materials, curves and settings but no device
    // resources of its own yet: it is initialised (buffers built, textures
    // loaded again) at its first render. The copy is the compiler's: device
    // objects are CDeviceHandle members (a copy is empty, a texture slot per
    // material stays), what describes the buffers (vertex and face counts,
    // the locked vertices) is CResetOnCopy, and CDeviceObject makes the copy
    // need its Init and lets an assigned object clean up first.
    CBaseObject(const CBaseObject& other) = default;
    CBaseObject& operator=(const CBaseObject& other) = default;
    // Calls CleanUp.
    ~CBaseObject() override;

    // --- virtual operations, in slot order -------------------------------------
    // Projections, scale and the textures whose names are set but not loaded.
    bool Init() override;
    // Releases the device resources; names, materials and curves stay, so a
    // later Init loads the textures again.
    void CleanUp() override;
    void Render() override;
    bool IsBaseObject() override { return true; }
    void Save(CSceneFile& file) override;
    bool Load(CSceneFile& file) override;
    // Renders the object into buffer.texture with buffer.surface as depth
    // buffer, restoring the render target and viewport afterwards.
    virtual void RenderOnTexture(TextureBuffer buffer, bool clear);
    // Writes the scale key of the current keyframe, then rescales.
    virtual void SetScale(float scale);
    // Loads the texture of a material (from the scene file being loaded, else
    // from disk). A failed load leaves no texture and the name "".
    virtual void SetTexture(CString name, int material);
    virtual CString GetTexture(int material);
    // These three reach every curve of KeyedCurves.
    virtual void DeleteKeyFrame(int id);
    // Inserts a key at time into every curve with the curve's own value at
    // that time (so nothing visible changes) and returns its identifier.
    virtual int AddKeyFrame(float time);
    virtual void MoveKeyFrame(int id, float time);

    // --- keyframes ------------------------------------------------------------------
    int GetKeyFrameNumber() const;
    float GetKeyFrameTime(int index) const;  // in time order
    int GetKeyFrameID(int index) const;
    void SetCurrentKeyFrame(int id) { m_iCurrentKeyFrame = id; }
    int GetCurrentKeyFrame() const { return m_iCurrentKeyFrame; }
    // Every keyed curve as it stands, and back (the editor's undo).
    CKeyFrameSnapshot CaptureKeyFrames() { return KeyedCurves().Capture(); }
    void RestoreKeyFrames(const CKeyFrameSnapshot& snapshot) { KeyedCurves().Restore(snapshot); }

    // --- keyed properties (the key of the current keyframe) -------------------------
    void SetPosition(float x, float y, float z);
    void SetPosition(const D3DXVECTOR3& position);
    // The key plus the direction origin.
    D3DXVECTOR3 GetPosition() const;
    // The key alone, without the direction origin a trajectory moves.
    D3DXVECTOR3 GetPositionKey() const { return m_Position.GetPointValue(m_iCurrentKeyFrame); }
    void SetRotation(float yaw, float pitch, float roll);
    void SetRotation(const D3DXVECTOR3& rotation);
    D3DXVECTOR3 GetRotation() const;
    float GetScale() const;
    // Also sets the alpha of the four colours of every material.
    void SetAlpha(float alpha);
    float GetAlpha() const;
    // Writes the colour key and sets the four colours of that material to c,
    // with the alpha of the current keyframe.
    void SetColor(const D3DCOLORVALUE& color, int material);
    // The colour key (the same for every material index).
    D3DCOLORVALUE GetDiffuseColor(int material) const;
    void SetFillMode(TFillMode mode);
    TFillMode GetFillMode() const;
    void EnableCulling(bool culling);
    bool GetCulling() const;
    void SetLighting(bool lighting);
    bool GetLighting() const;
    void SetAlwaysFacingCamera(bool facing);
    bool GetAlwaysFacingCamera() const;

    // The curves at the scene clock's time, or at t.
    D3DXVECTOR3 GetCurrentPosition() const;
    D3DXVECTOR3 GetCurrentPosition(float t) const;
    D3DXVECTOR3 GetCurrentRotation() const;
    D3DXVECTOR3 GetCurrentRotation(float t) const;
    float GetCurrentAlpha() const;
    float GetCurrentScale() const;

    // --- plain properties -------------------------------------------------------------
    void SetPivot(float x, float y, float z);
    void SetPivot(const D3DXVECTOR3& pivot);
    const D3DXVECTOR3& GetPivot() const { return m_Pivot; }
    // The direction frame: the object looks from origin along direction.
    void SetDirection(const D3DXVECTOR3& origin, const D3DXVECTOR3& direction);
    void SetDirection(const D3DXVECTOR3& origin, const D3DXVECTOR3& direction, const D3DXVECTOR3& up);
    // From the movement controller's current position along its direction,
    // with its up vector (which advances it to the current scene time).
    void SetDirection(CMove& move);
    void SetUpVector(float x, float y, float z);
    void SetVisible(bool visible) { m_bVisible = visible; }
    bool GetVisible() const { return m_bVisible; }
    // Selected objects draw as a red wireframe.
    void SetSelected(bool selected) { m_bSelected = selected; }
    bool GetSelected() const { return m_bSelected; }
    void DrawTexture(bool draw) { m_bDrawTexture = draw; }
    bool GetTextureState() const { return m_bDrawTexture; }
    void EnableSpecular(bool specular) { m_bSpecular = specular; }
    bool IsSpecularEnabled() const { return m_bSpecular; }
    void SetFlatShading(bool flat) { m_bFlatShading = flat; }
    bool GetFlatShading() const { return m_bFlatShading; }
    void SetZBias(int zBias) { m_iZBias = zBias; }
    int GetZBias() const { return m_iZBias; }
    void SetTextureFilter(D3DTEXTUREFILTERTYPE filter) { m_TextureFilter = filter; }
    // Binds the material texture to stages 1 to 3 as well.
    void SetFullTextureStageMode(BYTE full) { m_bFullTextureStageMode = full; }
    // Stage 0 or 1; other stages are ignored.
    void SetTextureColorBlendingOperation(DWORD operation, int stage);
    void SetTextureAlphaBlendingOperation(DWORD operation, int stage);
    void SetProjectionMode(ProjectionMode mode) { m_ProjectionMode = mode; }
    ProjectionMode GetProjectionMode() const { return m_ProjectionMode; }
    // Keeps an own perspective projection (aspect 1, near 0.1, far 1000).
    void SetFieldOfView(float fovY);
    // Textures loaded afterwards are lockable (D3DFMT_A8R8G8B8).
    void EnableWriteOnTexture(bool write) { m_bWriteOnTexture = write; }
    // Switches to the 80-byte shader layout. Only switching on takes effect:
    // the layout must not change under existing buffers.
    void UseShader(bool use);
    bool IsUsingShader() const { return m_bShaderLayout; }
    // Attaches an effect (not owned; null detaches) and lets it prepare.
    void SetShader(CShaderEffect* effect);
    CShaderEffect* GetShader() const { return m_pShaderEffect; }
    IDirect3DVertexBuffer8* GetVB() const { return m_pVB.Get(); }
    IDirect3DIndexBuffer8* GetIB() const { return m_pIB.Get(); }
    // The world matrix of the last render.
    const D3DXMATRIX& GetWorldMatrix() const { return m_WorldMatrix; }

    // --- materials ---------------------------------------------------------------
    // Releases the textures of the old count and sizes every per-material
    // array for n materials (at least one). Material 0 keeps its values; the
    // others start as copies of it.
    void SetNumberMaterials(int n);
    int GetNumberMaterials() const { return m_iNumberMaterials; }
    // Index accessors clamp (getters) or ignore (setters) indices outside
    // 0 .. count-1.
    D3DMATERIAL8& GetMaterial(int material);
    void SetMaterial(const D3DMATERIAL8& m, int material);
    void SetDiffuseColor(const D3DCOLORVALUE& color, int material);
    void SetAmbientColor(const D3DCOLORVALUE& color, int material);
    void SetSpecularColor(const D3DCOLORVALUE& color, int material);
    void SetEmissiveColor(const D3DCOLORVALUE& color, int material);
    D3DCOLORVALUE GetAmbientColor(int material) const;
    D3DCOLORVALUE GetSpecularColor(int material) const;
    D3DCOLORVALUE GetEmissiveColor(int material) const;
    void SetMaterialPower(float power, int material);
    float GetMaterialPower(int material) const;
    // Material i covers the faces from face end i-1 (0 for i = 0) up to face end i.
    void SetMaterialIndex(int material, int faceEnd);
    int GetMaterialIndex(int material) const;

    // --- textures ------------------------------------------------------------------
    // Stores a texture the caller created (the object takes its own reference).
    void SetTexture(IDirect3DTexture8*& texture, int material);
    IDirect3DTexture8* GetTexturePointer(int material) const;
    // A render-target texture w x h with its depth-stencil surface as the
    // texture of a material.
    bool CreateTexture(int width, int height, int material);
    TextureBuffer GetTextureBuffer(int material) const;
    // Level 0 of a material's texture; null when it cannot be locked.
    SPixel* LockTexture(int& width, int& height, int& pitch, int material);
    void UnlockTexture(int material);

    void SetEffectTexture(CString name, EffectTextureType type);
    void SetEffectTexture(const BYTE* data, int size, EffectTextureType type);
    const CString& GetEffectTextureName() const { return m_EffectTextureName; }
    IDirect3DTexture8* GetEffectTexture() const { return m_pEffectTexture.Get(); }
    IDirect3DCubeTexture8* GetEffectCubeTexture() const { return m_pEffectCubeTexture.Get(); }
    // A render-target effect texture (cube of edge w for ETT_CUBEMAP).
    bool CreateEffectTexture(int width, int height, EffectTextureType type);
    TextureBuffer GetEffectTextureBuffer() const;

    // --- geometry ----------------------------------------------------------------
    // Recreate the buffers (managed vertex buffer, default-pool 16-bit indices).
    void SetNumberVertices(int n);
    void SetNumberFaces(int n);
    int GetNumberVertices() const { return m_iNumberVertices; }
    int GetNumberFaces() const { return m_iNumberFaces; }
    // Null when there is no buffer or the lock fails.
    S3DVERTEX* LockVB(DWORD& count);
    WORD* LockIB(DWORD& count);
    void UnlockIB();
    // Unlocks the vertex buffer after optionally computing the vertex normals
    // from the faces, and recomputes the bounds; with setReference the
    // current size becomes the size at scale 1 and the scale is applied.
    void UnlockVB(bool computeNormals, bool setReference);
    // The same for the 80-byte shader layout (UnlockVB calls it).
    void UnlockVBS(bool computeNormals, bool setReference);
    // Multiplies every vertex position by f.
    void Resize(float f);
    void ResizeNoLock(float f);
    // Scales the vertices so that the largest extent is the scale curve's
    // value times the reference size.
    void UpdateScale(bool lock);
    // Lets an attached shader effect rebuild its per-vertex data.
    void GeometryChanged();

    // Steps through either vertex layout with the same code.
    void IncVertex(S3DVERTEX*& vertex) const { vertex += VertexSlots(); }
    S3DVERTEX* OffsetVertex(S3DVERTEX* vertex, int index) const { return vertex + index * VertexSlots(); }

    const D3DXVECTOR3& GetBoundsMax() const { return m_BoundsMax; }
    const D3DXVECTOR3& GetBoundsMin() const { return m_BoundsMin; }
    float GetReferenceSize() const { return m_fReferenceSize; }

protected:
    virtual void PostInit() {}
    // Every keyed curve of the object, alpha first: a derived class appends
    // its own to the base's list. Save and Load keep their own order, which
    // the file format fixes.
    virtual CKeyFrameCurves KeyedCurves();

private:
    int VertexSlots() const { return m_bShaderLayout ? 2 : 1; }
    UINT VertexStride() const { return m_bShaderLayout ? sizeof(S3DVERTEX_FORSHADER) : sizeof(S3DVERTEX); }
    bool IsMaterial(int material) const { return material >= 0 && material < m_iNumberMaterials; }
    int ClampMaterial(int material) const;
    void SetMaterialAlpha(int material, float alpha);
    SIZE ClientSize() const;
    void ConvertVerticesToShaderLayout();
    void SetFaceNormals(S3DVERTEX* vertices, const WORD* indices);
    void ComputeBounds(const S3DVERTEX* vertices);
    void FinishUnlockVB(bool computeNormals, bool setReference);

    void ReleaseTextures();
    void ReleaseEffectTextures();
    void ReleaseBuffers();
    bool LoadTextureData(const BYTE* data, int size, IDirect3DTexture8** texture) const;
    bool LoadTextureFile(const CString& name, IDirect3DTexture8** texture) const;
    bool FetchSceneFile(const CString& name, const BYTE*& data, int& size) const;
    static CString ReadTextureName(CSceneFile& file);
    bool LoadEffectTexture(const CString& name, const BYTE* data, int size, EffectTextureType type);
    bool ConvertEffectTextureToNormalMap();

    void ComputeWorldMatrix();
    void SetProjectionAndView();
    void SetShaderConstants();
    void SetRenderStates();
    void SetTextureStageStates();
    void SetBlendStates();
    void SetStreamAndShaders();
    void RecomputeAlphaAndColors();
    void BindMaterialTexture(int material);
    void DrawMaterials();

    BYTE m_bFullTextureStageMode = 0;
    D3DTEXTUREFILTERTYPE m_TextureFilter = D3DTEXF_LINEAR;
    int m_iZBias = 0;
    bool m_bSelected = false;
    // One slot per material.
    std::vector<CDeviceHandle<IDirect3DTexture8>> m_pTextures;
    std::vector<CDeviceHandle<IDirect3DSurface8>> m_pTextureSurfaces;
    CDeviceHandle<IDirect3DTexture8> m_pEffectTexture;
    CDeviceHandle<IDirect3DSurface8> m_pEffectSurface;
    CDeviceHandle<IDirect3DCubeTexture8> m_pEffectCubeTexture;
    std::vector<CString> m_TextureNames;
    CString m_EffectTextureName;
    CDeviceHandle<IDirect3DVertexBuffer8> m_pVB;
    CDeviceHandle<IDirect3DIndexBuffer8> m_pIB;
    // The sizes of the buffers above: a copy has none.
    CResetOnCopy<int> m_iNumberVertices;
    CResetOnCopy<int> m_iNumberFaces;
    int m_iNumberMaterials = 1;
    // Full ints: imported meshes can have more faces than a short holds.
    std::vector<int> m_FaceEnds;
    bool m_bDrawTexture = false;
    bool m_bSpecular = false;
    bool m_bOwnFieldOfView = false;
    bool m_bWriteOnTexture = false;
    bool m_bVisible = true;
    CInterpolation m_Alpha;
    CInterpolation m_FillMode;
    CColorInterpolation m_Color;
    CVectorInterpolation m_Position;
    CVectorInterpolation m_Rotation;
    D3DXVECTOR3 m_Pivot{0.0f, 0.0f, 0.0f};
    D3DXVECTOR3 m_DirectionTarget{0.0f, 0.0f, 1.0f};
    D3DXVECTOR3 m_DirectionOrigin{0.0f, 0.0f, 0.0f};
    D3DXVECTOR3 m_UpVector{0.0f, 1.0f, 0.0f};
    D3DXMATRIX m_PerspectiveProjection;
    D3DXMATRIX m_PixelOverlayProjection;
    D3DXMATRIX m_ScreenOverlayProjection;
    D3DXMATRIX m_WorldViewProjection;
    ProjectionMode m_ProjectionMode = PM_PERSPECTIVE;
    CBoolInterpolation m_Culling;
    bool m_bFlatShading = false;
    CBoolInterpolation m_Lighting;
    CBoolInterpolation m_FacingCamera;
    CInterpolation m_Scale;
    float m_fAppliedScale = 1.0f;
    D3DXVECTOR3 m_BoundsMax{1.0f, 1.0f, 1.0f};
    D3DXVECTOR3 m_BoundsMin{-1.0f, -1.0f, -1.0f};
    D3DXMATRIX m_Identity;
    CResetOnCopy<S3DVERTEX*> m_pLockedVertices;
    int m_iCurrentKeyFrame = 0;
    bool m_bShaderLayout = false;
    D3DTEXTUREOP m_AlphaOperations[2] = {D3DTOP_MODULATE, D3DTOP_MODULATE};
    D3DTEXTUREOP m_ColorOperations[2] = {D3DTOP_MODULATE, D3DTOP_MODULATE};
    std::vector<D3DMATERIAL8> m_Materials;
    float m_fReferenceSize = 1.0f;
    D3DXMATRIX m_RotationMatrix;
    D3DXMATRIX m_TranslationMatrix;
    D3DXMATRIX m_DirectionMatrix;
    D3DXMATRIX m_WorldMatrix;
    D3DXMATRIX m_PivotMatrix;
    D3DXMATRIX m_SavedView;
    CShaderEffect* m_pShaderEffect = nullptr;
    // How the effect texture was loaded, so that Init can load it again.
    EffectTextureType m_EffectTextureType = ETT_TEXTURE;
};
