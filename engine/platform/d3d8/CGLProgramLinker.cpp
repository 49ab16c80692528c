#include "platform/d3d8/CGLProgramLinker.h"

#include <epoxy/gl.h>

#include <cstdio>
#include <utility>
#include <vector>

#include "platform/d3d8/CFixedFunctionShaderGenerator.h"
#include "platform/d3d8/CShaderTranslator.h"
#include "platform/d3d8/SFixedFunctionConstants.h"
#include "platform/d3d8/SShaderConstants.h"

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

GLuint Compile(GLenum type, const std::string& source, const char* what) {
    GLuint shader = glCreateShader(type);
    const char* text = source.c_str();
    glShaderSource(shader, 1, &text, nullptr);
    glCompileShader(shader);
    GLint ok = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (!ok) {
        std::fprintf(stderr, "d3d8: %s shader failed to compile:\n%s\n%s\n", what, InfoLog(shader, false).c_str(),
                     source.c_str());
        glDeleteShader(shader);
        return 0;
    }
    return shader;
}

void BindBlocksAndSamplers(GLuint program) {
    const std::pair<const char*, unsigned> blocks[] = {
        {CFixedFunctionShaderGenerator::TransformBlockName(), kTransformBlockBinding},
        {CFixedFunctionShaderGenerator::VertexBlockName(), kVertexBlockBinding},
        {CFixedFunctionShaderGenerator::PixelBlockName(), kPixelBlockBinding},
        {CShaderTranslator::VertexConstantBlockName(), kVertexShaderBlockBinding},
        {CShaderTranslator::PixelConstantBlockName(), kPixelShaderBlockBinding}};
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
}

}  // namespace

unsigned CGLProgramLinker::Link(const std::string& vertexSource, const std::string& fragmentSource, const char* what) {
    const GLuint vertex = Compile(GL_VERTEX_SHADER, vertexSource, what);
    const GLuint fragment = vertex ? Compile(GL_FRAGMENT_SHADER, fragmentSource, what) : 0;
    if (!vertex || !fragment) {
        if (vertex)
            glDeleteShader(vertex);
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
        std::fprintf(stderr, "d3d8: %s program failed to link:\n%s\n", what, InfoLog(program, true).c_str());
        glDeleteProgram(program);
        return 0;
    }
    BindBlocksAndSamplers(program);
    return program;
}
