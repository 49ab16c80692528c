#pragma once
// A flat, subdivided, textured rectangle in the x-y plane, facing -z and
// drawn from both sides. It is the scene's image object and background
// image, the screen's render-target quad, and the base of the height-map
// terrain, the bitmap-font text and the animated plane.
//
// The plane is a grid of Nx x Ny cells: (Nx+1)(Ny+1) vertices written row by
// row from the top, two triangles per cell. Its half width and half height
// are keyed curves; the grid is rebuilt whenever their values at the scene
// time differ from the sizes it was built with. The first texture pair spans
// the texture window (the whole texture by default), the second repeats the
// texture once per cell. An optional texture wave moves the first texture
// pair of the inner vertices over time.
//
// By default a plane is a screen overlay: one unit is the whole screen.

#include <vector>

#include "animation/CInterpolation.h"
#include "objects/CBaseObject.h"

class CPlaneObject : public CBaseObject {
public:
    CPlaneObject();

    // Sizes the buffers for the subdivision and builds the grid, then runs
    // the PostInit hook.
    bool Init() override;
    // Rebuilds the grid when the size curves changed, moves the texture
    // wave, then draws.
    void Render() override;
    // Subdivision x and y, half-width and half-height curves, the texture
    // window (left, top, right, bottom), then the base part. The texture
    // wave is not stored.
    void Save(CSceneFile& file) override;
    bool Load(CSceneFile& file) override;

    // Full width and height at the current keyframe (the curves hold halves);
    // shown at the next Render.
    void SetSize(float width, float height);
    void GetSize(float& width, float& height) const;

    // Cells across and down; they take effect at the next Init, which sizes
    // the buffers. Each count is kept between 1 and kMaxSubdivision when the
    // grid is built, so that every vertex fits 16-bit indices.
    static constexpr int kMaxSubdivision = 255;
    void SetSubdivision(int cellsX, int cellsY);
    void GetSubdivision(int& cellsX, int& cellsY) const;
    // The counts the present buffers were built with (0 before Init).
    void GetBuiltSubdivision(int& cellsX, int& cellsY) const;

    // The part of the texture the first texture pair spans; takes effect at
    // the next rebuild of the grid.
    void SetTextureOffset(float left, float top, float right, float bottom);
    void GetTextureOffset(float& left, float& top, float& right, float& bottom) const;

    // Texture wave: 0 none, 1 to 4 the four variants of waveEffect; other
    // values do nothing.
    void Effect(int effect) { m_iEffect = effect; }
    int GetEffect() const { return m_iEffect; }
    void SetEffectSpeed(float speed) { m_fEffectSpeed = speed; }
    float GetEffectSpeed() const { return m_fEffectSpeed; }
    void SetEffectAmplitude(float amplitude) { m_fEffectAmplitude = amplitude; }
    float GetEffectAmplitude() const { return m_fEffectAmplitude; }

    // The base's uniform vertex scaling stays reachable beside the grid
    // rebuild below.
    using CBaseObject::Resize;

protected:
    // The base's curves, then the half width and height.
    CKeyFrameCurves KeyedCurves() override;
    // Builds the grid at w x h directly, bypassing the size curves (the
    // bitmap fonts size their quad per character this way).
    void SetCurrentSize(float width, float height);
    // Regenerates positions (keeping each vertex's z), normals and texture
    // coordinates from the built sizes and the texture window, and the
    // indices when asked (before the vertices are unlocked, so that normals
    // computed from the faces see them). updateBounds makes the new size the size at scale
    // 1 and applies the scale. Nothing happens when the buffer cannot be
    // locked.
    void Resize(bool rebuildIndices, bool updateBounds);
    // Rewrites only the texture coordinates from the texture window, leaving
    // positions (and with them the applied scale) alone.
    void RefreshTextureCoordinates();
    // One step of the texture wave (variant 0 to 3) at the scene time: the
    // first texture pair of every inner vertex swings around its rest
    // position; the border stays still.
    void waveEffect(int variant);

    // Whether a rebuild of the grid computes the vertex normals from the
    // faces instead of writing the flat plane's (0, 0, 1): a plane whose
    // vertices carry heights needs its normals to follow them.
    void SetComputeNormalsOnResize(bool compute) { m_bComputeNormalsOnResize = compute; }

private:
    void WriteIndices();
    void WriteTextureCoordinates(S3DVERTEX* vertices);
    bool HasGridBuffer(DWORD vertexCount) const;

    float m_fEffectSpeed = 1.0f;
    float m_fEffectAmplitude = 1.0f;
    float m_fBuiltHalfWidth = 0.5f;
    float m_fBuiltHalfHeight = 0.5f;
    CInterpolation m_HalfWidth;
    CInterpolation m_HalfHeight;
    int m_iSubdivisionX = 1;
    int m_iSubdivisionY = 1;
    int m_iEffect = 0;
    float m_fTextureLeft = 0.0f;
    float m_fTextureRight = 1.0f;
    float m_fTextureTop = 0.0f;
    float m_fTextureBottom = 1.0f;
    // Each vertex's undisturbed first texture pair, the rest positions of
    // the texture wave; sized for the built subdivision.
    std::vector<float> m_BaseU;
    std::vector<float> m_BaseV;
    bool m_bRebuildIndices = true;
    // The subdivision the buffers were sized for at Init; the grid is always
    // generated with these, so a later SetSubdivision or Load can never make
    // a rebuild write past the buffers.
    int m_iBuiltSubdivisionX = 0;
    int m_iBuiltSubdivisionY = 0;
    // A buffer just created holds no heights yet: its first rebuild sets z
    // to 0 instead of keeping it.
    bool m_bFreshBuffer = true;
    bool m_bComputeNormalsOnResize = false;
};
