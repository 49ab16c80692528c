#pragma once
// Runs GLSL programs on the headless GL context without a device: a float
// render target, the five uniform blocks at their bindings, textures on the
// stage units, and points drawn one per pixel with up to 16 vec4 attributes
// each, so that tests compare translated shaders' results with CPU values
// at full precision.
//
//   CShaderRig rig;
//   ASSERT_TRUE(rig.Use(vertexGlsl, fragmentGlsl));
//   rig.DrawPoints({{rig.PointPosition(0), operand}});
//   const Vec4 result = rig.Read(0, 0);

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/d3d8/SFixedFunctionConstants.h"
#include "platform/d3d8/SShaderConstants.h"
#include "platform/headless/CHeadlessWindow.h"

using Vec4 = std::array<float, 4>;

class CShaderRig {
public:
    explicit CShaderRig(int width = 16, int height = 1);
    ~CShaderRig();
    CShaderRig(const CShaderRig&) = delete;
    CShaderRig& operator=(const CShaderRig&) = delete;

    bool Valid() const { return m_framebuffer != 0; }
    int Width() const { return m_width; }
    // Links and binds the pair; false (the log on stderr) when it fails.
    bool Use(const std::string& vertexSource, const std::string& fragmentSource);
    // A vertex shader that hands attributes 1-7 to the pixel shader as
    // v_diffuse, v_specular, v_texCoord0-3 and v_fog (x).
    static const char* PassThroughVertexShader();

    void SetVertexShaderConstants(const SVertexShaderConstants& constants);
    void SetPixelShaderConstants(const SPixelShaderConstants& constants);
    void SetPixelValues(const SPixelConstants& values);  // fog and alpha reference
    // Nearest-filtered; texels 0xAARRGGBB, the first row at v = 0.
    void SetTexture2D(unsigned unit, int width, int height, const std::vector<std::uint32_t>& texels);
    void SetCube(unsigned unit, const std::array<std::uint32_t, 6>& faces);  // +X -X +Y -Y +Z -Z, one texel each

    void Clear(const Vec4& color);
    // Point i lands on pixel (i % width, i / width) when its attribute 0 is
    // PointPosition(i); points[i][location] feeds attribute `location`.
    void DrawPoints(const std::vector<std::vector<Vec4>>& points);
    Vec4 PointPosition(int index) const;
    Vec4 Read(int x, int y) const;  // y = 0: the bottom row
    // The target as a PNG under build/screenshots/, for the developer to look at.
    void SavePng(const std::string& name) const;

private:
    void WriteBlock(unsigned binding, const void* data, std::size_t size);
    void AddTexture(unsigned unit, unsigned target);

    CHeadlessWindow m_window;
    int m_width;
    int m_height;
    unsigned m_framebuffer = 0;
    unsigned m_target = 0;
    unsigned m_program = 0;
    unsigned m_vertexArray = 0;
    unsigned m_vertexBuffer = 0;
    std::array<unsigned, 5> m_blocks{};
    std::vector<unsigned> m_textures;
};
