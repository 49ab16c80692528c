#pragma once
// Linked GLSL programs, built on first use and kept for the device's life
// (GL thread only): one per fixed-function state key, and one per pair of
// shader handles with the key of the state their translation depends on.
// The draw path asks for a program only when the key changed, so an
// unchanged state costs no lookup.

#include <functional>
#include <string>
#include <unordered_map>
#include <utility>

#include "platform/d3d8/SFixedFunctionKey.h"

// A draw through a vertex shader, a pixel shader or both (handle 0: that
// half is fixed-function).
struct SShaderProgramKey {
    DWORD vertexShader = 0;
    DWORD pixelShader = 0;
    SFixedFunctionKey state{};

    bool operator==(const SShaderProgramKey& other) const {
        return vertexShader == other.vertexShader && pixelShader == other.pixelShader && state == other.state;
    }
};

struct SShaderProgramKeyHash {
    std::size_t operator()(const SShaderProgramKey& key) const;
};

class CProgramCache {
public:
    // The vertex and fragment texts of a programmable pair.
    using SourceWriter = std::function<std::pair<std::string, std::string>()>;

    CProgramCache() = default;
    ~CProgramCache();
    CProgramCache(const CProgramCache&) = delete;
    CProgramCache& operator=(const CProgramCache&) = delete;

    // The program for `key`, 0 when it fails to compile (reported on stderr).
    unsigned Get(const SFixedFunctionKey& key);
    // The program for a shader pair; `sources` is called only to build it.
    unsigned Get(const SShaderProgramKey& key, const SourceWriter& sources);
    // Deletes the programs built from a shader that is being deleted (0 for
    // the other half); returns how many went.
    std::size_t ForgetShader(DWORD vertexHandle, DWORD pixelHandle);
    std::size_t Size() const { return m_programs.size() + m_shaderPrograms.size(); }
    // Deletes every program (GL thread, context current).
    void Clear();

private:
    std::unordered_map<SFixedFunctionKey, unsigned, SFixedFunctionKeyHash> m_programs;
    std::unordered_map<SShaderProgramKey, unsigned, SShaderProgramKeyHash> m_shaderPrograms;
};
