#include "CShaderRig.h"

#include <epoxy/gl.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "platform/d3d8/CGLProgramLinker.h"
#include "platform/files/CPngWriter.h"

namespace {

constexpr unsigned kAttributeCount = 16;

std::vector<std::uint8_t> RgbaBytes(const std::vector<std::uint32_t>& texels) {
    std::vector<std::uint8_t> bytes;
    for (std::uint32_t texel : texels)
        bytes.insert(bytes.end(), {static_cast<std::uint8_t>(texel >> 16), static_cast<std::uint8_t>(texel >> 8),
                                   static_cast<std::uint8_t>(texel), static_cast<std::uint8_t>(texel >> 24)});
    return bytes;
}

}  // namespace

CShaderRig::CShaderRig(int width, int height) : m_window(64, 64), m_width(width), m_height(height) {
    if (!m_window.CreateContext())
        return;
    glGenTextures(1, &m_target);
    glBindTexture(GL_TEXTURE_2D, m_target);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA32F, width, height, 0, GL_RGBA, GL_FLOAT, nullptr);
    glGenFramebuffers(1, &m_framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, m_framebuffer);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, m_target, 0);
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE)
        m_framebuffer = 0;
    glViewport(0, 0, width, height);
    glEnable(GL_PROGRAM_POINT_SIZE);
    glGenVertexArrays(1, &m_vertexArray);
    glBindVertexArray(m_vertexArray);
    glGenBuffers(1, &m_vertexBuffer);
    glGenBuffers(static_cast<GLsizei>(m_blocks.size()), m_blocks.data());
    STransformConstants transforms{};
    transforms.positionFixup[1] = 1.0f;  // keeps y; no pixel-centre shift
    WriteBlock(kTransformBlockBinding, &transforms, sizeof(transforms));
    const SVertexConstants vertexValues{};
    WriteBlock(kVertexBlockBinding, &vertexValues, sizeof(vertexValues));
    SetPixelValues(SPixelConstants{});
    SetVertexShaderConstants(SVertexShaderConstants{});
    SetPixelShaderConstants(SPixelShaderConstants{});
}

CShaderRig::~CShaderRig() {
    if (!m_window.MakeCurrent())
        return;
    glDeleteProgram(m_program);
    glDeleteTextures(static_cast<GLsizei>(m_textures.size()), m_textures.data());
    glDeleteBuffers(static_cast<GLsizei>(m_blocks.size()), m_blocks.data());
    glDeleteBuffers(1, &m_vertexBuffer);
    glDeleteVertexArrays(1, &m_vertexArray);
    glDeleteFramebuffers(1, &m_framebuffer);
    glDeleteTextures(1, &m_target);
    m_window.DestroyContext();
}

bool CShaderRig::Use(const std::string& vertexSource, const std::string& fragmentSource) {
    glDeleteProgram(m_program);
    m_program = CGLProgramLinker::Link(vertexSource, fragmentSource, "test");
    glUseProgram(m_program);
    return m_program != 0;
}

const char* CShaderRig::PassThroughVertexShader() {
    return R"(#version 330 core
layout(location = 0) in vec4 a_position;
layout(location = 1) in vec4 a_diffuse;
layout(location = 2) in vec4 a_specular;
layout(location = 3) in vec4 a_texCoord[4];
layout(location = 7) in vec4 a_fog;
out vec4 v_diffuse;
out vec4 v_specular;
out vec4 v_texCoord0, v_texCoord1, v_texCoord2, v_texCoord3;
out float v_fog;
void main() {
    gl_Position = a_position;
    gl_PointSize = 1.0;
    v_diffuse = a_diffuse;
    v_specular = a_specular;
    v_texCoord0 = a_texCoord[0];
    v_texCoord1 = a_texCoord[1];
    v_texCoord2 = a_texCoord[2];
    v_texCoord3 = a_texCoord[3];
    v_fog = a_fog.x;
}
)";
}

void CShaderRig::WriteBlock(unsigned binding, const void* data, std::size_t size) {
    glBindBuffer(GL_UNIFORM_BUFFER, m_blocks[binding]);
    glBufferData(GL_UNIFORM_BUFFER, static_cast<GLsizeiptr>(size), data, GL_STATIC_DRAW);
    glBindBufferBase(GL_UNIFORM_BUFFER, binding, m_blocks[binding]);
}

void CShaderRig::SetVertexShaderConstants(const SVertexShaderConstants& constants) {
    WriteBlock(kVertexShaderBlockBinding, &constants, sizeof(constants));
}

void CShaderRig::SetPixelShaderConstants(const SPixelShaderConstants& constants) {
    WriteBlock(kPixelShaderBlockBinding, &constants, sizeof(constants));
}

void CShaderRig::SetPixelValues(const SPixelConstants& values) {
    WriteBlock(kPixelBlockBinding, &values, sizeof(values));
}

void CShaderRig::AddTexture(unsigned unit, unsigned target) {
    GLuint texture = 0;
    glGenTextures(1, &texture);
    m_textures.push_back(texture);
    glActiveTexture(GL_TEXTURE0 + unit);
    glBindTexture(target, texture);
    glTexParameteri(target, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(target, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(target, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(target, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
}

void CShaderRig::SetTexture2D(unsigned unit, int width, int height, const std::vector<std::uint32_t>& texels) {
    AddTexture(unit, GL_TEXTURE_2D);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, RgbaBytes(texels).data());
}

void CShaderRig::SetCube(unsigned unit, const std::array<std::uint32_t, 6>& faces) {
    AddTexture(unit, GL_TEXTURE_CUBE_MAP);
    for (unsigned face = 0; face < 6; ++face)
        glTexImage2D(GL_TEXTURE_CUBE_MAP_POSITIVE_X + face, 0, GL_RGBA8, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                     RgbaBytes({faces[face]}).data());
}

void CShaderRig::Clear(const Vec4& color) {
    glClearColor(color[0], color[1], color[2], color[3]);
    glClear(GL_COLOR_BUFFER_BIT);
}

Vec4 CShaderRig::PointPosition(int index) const {
    return {((index % m_width) + 0.5f) * 2.0f / m_width - 1.0f, ((index / m_width) + 0.5f) * 2.0f / m_height - 1.0f,
            0.5f, 1.0f};
}

void CShaderRig::DrawPoints(const std::vector<std::vector<Vec4>>& points) {
    std::vector<Vec4> data(points.size() * kAttributeCount, Vec4{});
    for (std::size_t point = 0; point < points.size(); ++point)
        std::copy(points[point].begin(), points[point].end(), data.begin() + point * kAttributeCount);
    glBindBuffer(GL_ARRAY_BUFFER, m_vertexBuffer);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(data.size() * sizeof(Vec4)), data.data(), GL_STREAM_DRAW);
    for (GLuint location = 0; location < kAttributeCount; ++location) {
        glEnableVertexAttribArray(location);
        glVertexAttribPointer(location, 4, GL_FLOAT, GL_FALSE, kAttributeCount * sizeof(Vec4),
                              reinterpret_cast<const void*>(location * sizeof(Vec4)));
    }
    glDrawArrays(GL_POINTS, 0, static_cast<GLsizei>(points.size()));
}

Vec4 CShaderRig::Read(int x, int y) const {
    Vec4 value{};
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_FLOAT, value.data());
    return value;
}

void CShaderRig::SavePng(const std::string& name) const {
    std::vector<std::uint8_t> rgba;
    for (int y = m_height - 1; y >= 0; --y)  // GL's first row is the bottom one
        for (int x = 0; x < m_width; ++x)
            for (float value : Read(x, y))
                rgba.push_back(static_cast<std::uint8_t>(std::clamp(value, 0.0f, 1.0f) * 255.0f + 0.5f));
    CPngWriter writer;
    std::filesystem::create_directories(LVX_SCREENSHOT_DIR);
    std::ofstream file(std::string(LVX_SCREENSHOT_DIR) + "/" + name + ".png", std::ios::binary);
    if (writer.Encode(m_width, m_height, rgba))
        file.write(reinterpret_cast<const char*>(writer.GetBytes().data()),
                   static_cast<std::streamsize>(writer.GetBytes().size()));
}
