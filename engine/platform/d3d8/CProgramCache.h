#pragma once
// Linked GLSL programs of the fixed-function pipeline, one per state key,
// built on first use and kept for the device's life (GL thread only). The
// draw path asks for a program only when the key changed, so an unchanged
// state costs no lookup. A later programmable-shader path supplies its own
// programs next to these; both read the same uniform block bindings.

#include <unordered_map>

#include "platform/d3d8/SFixedFunctionKey.h"

class CProgramCache {
public:
    CProgramCache() = default;
    ~CProgramCache();
    CProgramCache(const CProgramCache&) = delete;
    CProgramCache& operator=(const CProgramCache&) = delete;

    // The program for `key`, 0 when it fails to compile (reported on stderr).
    unsigned Get(const SFixedFunctionKey& key);
    std::size_t Size() const { return m_programs.size(); }
    // Deletes every program (GL thread, context current).
    void Clear();

private:
    static unsigned Build(const SFixedFunctionKey& key);

    std::unordered_map<SFixedFunctionKey, unsigned, SFixedFunctionKeyHash> m_programs;
};
