#include "platform/d3d8/CProgramCache.h"

#include <epoxy/gl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/d3d8/CFixedFunctionShaderGenerator.h"
#include "platform/d3d8/SFixedFunctionConstants.h"

namespace {

std::string InfoLog(GLuint object, bool program) {
    GLint length = 0;
    if (program)
        glGetProgramiv(object, GL_INFO_LOG_LENGTH, &length);
    else
        glGetShaderiv(object, GL_INFO_LOG_LENGTH, &length);
    std::vector<char> log(static_cast<size_t>(length) + 1, '\0');
    if (program)
        glGetProgramInfoLog(object, length, nullptr, log.data());
    else
        glGetShaderInfoLog(object, length, nullptr, log.data());
    return log.data();
}

GLuint Compile(GLenum type, const std::string& source) {
    GLuint shader = glCreateShader(type);
    const char* text = source.c_str();
    glShaderSource(shader, 1, &text, nullptr);
    glCompileShader(shader);
    GLint ok = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (!ok) {
        std::fprintf(stderr, "d3d8: fixed-function shader failed to compile:\n%s\n%s\n", InfoLog(shader, false).c_str(),
                     source.c_str());
        glDeleteShader(shader);
        return 0;
    }
    return shader;
}

}  // namespace

CProgramCache::~CProgramCache() = default;

unsigned CProgramCache::Get(const SFixedFunctionKey& key) {
    auto found = m_programs.find(key);
    if (found != m_programs.end())
        return found->second;
    const unsigned program = Build(key);
    m_programs.emplace(key, program);
    return program;
}

void CProgramCache::Clear() {
    for (auto& [key, program] : m_programs)
        if (program)
            glDeleteProgram(program);
    m_programs.clear();
}

unsigned CProgramCache::Build(const SFixedFunctionKey& key) {
    const GLuint vertex = Compile(GL_VERTEX_SHADER, CFixedFunctionShaderGenerator::VertexShader(key));
    const GLuint fragment = Compile(GL_FRAGMENT_SHADER, CFixedFunctionShaderGenerator::FragmentShader(key));
    if (!vertex || !fragment) {
        if (vertex)
            glDeleteShader(vertex);
        if (fragment)
            glDeleteShader(fragment);
        return 0;
    }
    GLuint program = glCreateProgram();
    glAttachShader(program, vertex);
    glAttachShader(program, fragment);
    glLinkProgram(program);
    glDetachShader(program, vertex);
    glDetachShader(program, fragment);
    glDeleteShader(vertex);
    glDeleteShader(fragment);
    GLint ok = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &ok);
    if (!ok) {
        std::fprintf(stderr, "d3d8: fixed-function program failed to link:\n%s\n", InfoLog(program, true).c_str());
        glDeleteProgram(program);
        return 0;
    }
    const std::pair<const char*, unsigned> blocks[] = {
        {CFixedFunctionShaderGenerator::TransformBlockName(), kTransformBlockBinding},
        {CFixedFunctionShaderGenerator::VertexBlockName(), kVertexBlockBinding},
        {CFixedFunctionShaderGenerator::PixelBlockName(), kPixelBlockBinding}};
    for (const auto& [name, binding] : blocks) {
        const GLuint block = glGetUniformBlockIndex(program, name);
        if (block != GL_INVALID_INDEX)
            glUniformBlockBinding(program, block, binding);
    }
    glUseProgram(program);
    for (unsigned stage = 0; stage < D3D8_MAX_TEXTURE_STAGES; ++stage) {
        const GLint location = glGetUniformLocation(program, CFixedFunctionShaderGenerator::SamplerName(stage).c_str());
        if (location >= 0)
            glUniform1i(location, static_cast<GLint>(stage));
    }
    // The caller binds the program it wants next; the state cache is told
    // through CGLState::ForgetProgram.
    return program;
}
