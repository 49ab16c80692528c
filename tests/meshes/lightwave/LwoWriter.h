#pragma once
// LightWave chunks as real files write them, for the loader's tests: point
// and polygon numbers in the variable form (two bytes, or four starting with
// 0xFF when `wide` or when the number needs them), layers with a pivot,
// polygon tags and corner maps that name their polygons.

#include <cstdint>
#include <string>
#include <vector>

#include "meshes/common/MeshFiles.h"

namespace lwo {

inline void Index(CChunkWriter& w, std::uint32_t value, bool wide = false) {
    if (wide || value >= 0xFF00) {
        w.U32(0xFF000000u | value);
    } else {
        w.U16(value);
    }
}

inline void Layer(CChunkWriter& w, std::uint16_t number, float x, float y, float z) {
    w.BeginChunk("LAYR").U16(number).U16(0).F32(x).F32(y).F32(z).Text("layer").End();
}

inline void Polygons(CChunkWriter& w, const std::vector<std::vector<std::uint32_t>>& polygons, bool wide = false,
                     const char* type = "FACE") {
    w.BeginChunk("POLS").Id(type);
    for (const auto& polygon : polygons) {
        w.U16(static_cast<std::uint32_t>(polygon.size()));
        for (std::uint32_t point : polygon)
            Index(w, point, wide);
    }
    w.End();
}

struct STag {
    std::uint32_t polygon;
    std::uint16_t tag;
};

inline void Tags(CChunkWriter& w, const std::vector<STag>& entries, const char* type = "SURF", bool wide = false) {
    w.BeginChunk("PTAG").Id(type);
    for (const STag& e : entries) {
        Index(w, e.polygon, wide);
        w.U16(e.tag);
    }
    w.End();
}

struct SPointUv {
    std::uint32_t point;
    float u, v;
};

inline void PointUvs(CChunkWriter& w, const std::vector<SPointUv>& entries, bool wide = false) {
    w.BeginChunk("VMAP").Id("TXUV").U16(2).Text("UV");
    for (const SPointUv& e : entries) {
        Index(w, e.point, wide);
        w.F32(e.u).F32(e.v);
    }
    w.End();
}

struct SCornerUv {
    std::uint32_t point;
    std::uint32_t polygon;
    float u, v;
};

inline void CornerUvs(CChunkWriter& w, const std::vector<SCornerUv>& entries, bool wide = false) {
    w.BeginChunk("VMAD").Id("TXUV").U16(2).Text("UV");
    for (const SCornerUv& e : entries) {
        Index(w, e.point, wide);
        Index(w, e.polygon, wide);
        w.F32(e.u).F32(e.v);
    }
    w.End();
}

}  // namespace lwo
