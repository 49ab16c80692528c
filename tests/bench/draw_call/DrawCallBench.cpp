// CPU cost of one indexed draw through the Direct3D 8 layer, state unchanged
// between draws, next to the same draw issued on raw OpenGL with an
// equivalent program, both on the headless surface. The rasteriser's own
// cost is kept small (a quad of a few pixels) and is the same on both sides.

#include <benchmark/benchmark.h>
#include <epoxy/gl.h>

#include <cstring>

#include "bench/common/CD3D8QuadScene.h"
#include "platform/d3d8/d3d8.h"
#include "platform/headless/CHeadlessWindow.h"
#include "support/CHeadlessDevice.h"

namespace {

using namespace benchquad;

// The raw GL counterpart: one program with the same transform and vertex
// colour, a uniform block for the matrices, a VAO and the two buffers.
class CRawGLScene {
public:
    CRawGLScene() {
        if (!m_window.CreateContext())
            return;
        const char* vertexSource = R"(#version 330 core
layout(std140) uniform Transforms { mat4 u_worldView; mat4 u_projection; };
layout(location = 0) in vec4 a_position;
layout(location = 3) in vec4 a_diffuse;
out vec4 v_diffuse;
void main() {
    v_diffuse = a_diffuse;
    gl_Position = u_projection * (u_worldView * vec4(a_position.xyz, 1.0));
})";
        const char* fragmentSource = R"(#version 330 core
in vec4 v_diffuse;
layout(location = 0) out vec4 o_color;
void main() { o_color = v_diffuse; })";
        m_program = glCreateProgram();
        for (auto [type, source] :
             {std::pair{GL_VERTEX_SHADER, vertexSource}, std::pair{GL_FRAGMENT_SHADER, fragmentSource}}) {
            const GLuint shader = glCreateShader(type);
            glShaderSource(shader, 1, &source, nullptr);
            glCompileShader(shader);
            glAttachShader(m_program, shader);
            glDeleteShader(shader);
        }
        glLinkProgram(m_program);
        glUniformBlockBinding(m_program, glGetUniformBlockIndex(m_program, "Transforms"), 0);
        const D3DMATRIX matrices[2] = {Identity(), Identity()};
        glGenBuffers(3, m_buffers);
        glBindBuffer(GL_UNIFORM_BUFFER, m_buffers[0]);
        glBufferData(GL_UNIFORM_BUFFER, sizeof matrices, matrices, GL_DYNAMIC_DRAW);
        glBindBufferBase(GL_UNIFORM_BUFFER, 0, m_buffers[0]);
        glGenVertexArrays(1, &m_vao);
        glBindVertexArray(m_vao);
        glBindBuffer(GL_ARRAY_BUFFER, m_buffers[1]);
        glBufferData(GL_ARRAY_BUFFER, sizeof kQuad, kQuad, GL_STATIC_DRAW);
        glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, sizeof(SVertex), nullptr);
        glVertexAttribPointer(3, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, sizeof(SVertex),
                              reinterpret_cast<const void*>(offsetof(SVertex, color)));
        glEnableVertexAttribArray(0);
        glEnableVertexAttribArray(3);
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, m_buffers[2]);
        glBufferData(GL_ELEMENT_ARRAY_BUFFER, sizeof kIndices, kIndices, GL_STATIC_DRAW);
        glBindFramebuffer(GL_FRAMEBUFFER, m_window.BackBufferFramebuffer());
        glViewport(0, 0, kSize, kSize);
        glUseProgram(m_program);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        m_valid = true;
    }
    ~CRawGLScene() {
        if (!m_valid)
            return;
        glDeleteVertexArrays(1, &m_vao);
        glDeleteBuffers(3, m_buffers);
        glDeleteProgram(m_program);
        m_window.DestroyContext();
    }
    bool Valid() const { return m_valid; }
    unsigned TransformBuffer() const { return m_buffers[0]; }

private:
    CHeadlessWindow m_window{kSize, kSize};
    bool m_valid = false;
    GLuint m_program = 0;
    GLuint m_vao = 0;
    GLuint m_buffers[3] = {};
};

void BM_D3D8DrawIndexedPrimitive(benchmark::State& state) {
    CD3D8QuadScene scene;
    if (!scene.Device()) {
        state.SkipWithError("no Direct3D device on the headless surface");
        return;
    }
    scene.DrawRepeatedly(state);
}
BENCHMARK(BM_D3D8DrawIndexedPrimitive);

void BM_RawGLDrawElements(benchmark::State& state) {
    CRawGLScene scene;
    if (!scene.Valid()) {
        state.SkipWithError("no GL context on the headless surface");
        return;
    }
    glDrawElements(GL_TRIANGLES, 6, GL_UNSIGNED_SHORT, nullptr);
    glFinish();
    int sinceFinish = 0;
    for (auto _ : state) {
        glDrawElements(GL_TRIANGLES, 6, GL_UNSIGNED_SHORT, nullptr);
        if (++sinceFinish == kDrawsBetweenFinishes) {
            glFinish();
            sinceFinish = 0;
        }
    }
    glFinish();
}
BENCHMARK(BM_RawGLDrawElements);

// The common engine pattern: a new world matrix before every draw.
void BM_D3D8DrawWithWorldChange(benchmark::State& state) {
    CD3D8QuadScene scene;
    IDirect3DDevice8* device = scene.Device();
    if (!device) {
        state.SkipWithError("no Direct3D device on the headless surface");
        return;
    }
    D3DMATRIX world = Identity();
    int sinceFinish = 0;
    for (auto _ : state) {
        world._41 = (sinceFinish & 1) ? 0.01f : -0.01f;
        device->SetTransform(D3DTS_WORLD, &world);
        benchmark::DoNotOptimize(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 4, 0, 2));
        if (++sinceFinish == kDrawsBetweenFinishes) {
            glFinish();
            sinceFinish = 0;
        }
    }
    glFinish();
}
BENCHMARK(BM_D3D8DrawWithWorldChange);

// The raw counterpart of a per-draw world matrix: a fresh slot of a
// streaming uniform buffer per draw, as the layer does.
void BM_RawGLDrawWithWorldChange(benchmark::State& state) {
    CRawGLScene scene;
    if (!scene.Valid()) {
        state.SkipWithError("no GL context on the headless surface");
        return;
    }
    constexpr GLsizeiptr kRing = 1 << 20, kSlot = 256;
    glBindBuffer(GL_UNIFORM_BUFFER, scene.TransformBuffer());
    glBufferData(GL_UNIFORM_BUFFER, kRing, nullptr, GL_STREAM_DRAW);
    D3DMATRIX matrices[2] = {Identity(), Identity()};
    GLintptr offset = 0;
    int sinceFinish = 0;
    for (auto _ : state) {
        matrices[0]._41 = (sinceFinish & 1) ? 0.01f : -0.01f;
        if (offset + kSlot > kRing) {
            glBufferData(GL_UNIFORM_BUFFER, kRing, nullptr, GL_STREAM_DRAW);
            offset = 0;
        }
        void* slot = glMapBufferRange(GL_UNIFORM_BUFFER, offset, sizeof matrices,
                                      GL_MAP_WRITE_BIT | GL_MAP_INVALIDATE_RANGE_BIT | GL_MAP_UNSYNCHRONIZED_BIT);
        std::memcpy(slot, matrices, sizeof matrices);
        glUnmapBuffer(GL_UNIFORM_BUFFER);
        glBindBufferRange(GL_UNIFORM_BUFFER, 0, scene.TransformBuffer(), offset, sizeof matrices);
        offset += kSlot;
        glDrawElements(GL_TRIANGLES, 6, GL_UNSIGNED_SHORT, nullptr);
        if (++sinceFinish == kDrawsBetweenFinishes) {
            glFinish();
            sinceFinish = 0;
        }
    }
    glFinish();
}
BENCHMARK(BM_RawGLDrawWithWorldChange);

}  // namespace

BENCHMARK_MAIN();
