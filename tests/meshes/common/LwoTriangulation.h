#pragma once
// Cuts the polygons of a LightWave object into triangles, for tests and
// benchmarks that feed real files to the loader (which takes triangles only).

#include <cstdint>
#include <string>
#include <vector>

#include "platform/base/WinTypes.h"

namespace meshfiles {

// LightWave files, big-endian, with variable-length indices (2 bytes, or 4
// with a leading 0xFF byte).
class CLwoCursor {
public:
    explicit CLwoCursor(const std::vector<BYTE>& bytes, size_t at = 0) : m_bytes(bytes), m_at(at) {}
    size_t At() const { return m_at; }
    std::uint32_t U(int count) {
        std::uint32_t value = 0;
        for (int i = 0; i < count; ++i)
            value = (value << 8) | m_bytes.at(m_at++);
        return value;
    }
    std::uint32_t Index() { return m_bytes.at(m_at) == 0xFF ? U(4) & 0xFFFFFF : U(2); }
    std::vector<BYTE> Bytes(size_t count) {
        std::vector<BYTE> out(m_bytes.begin() + static_cast<long>(m_at),
                              m_bytes.begin() + static_cast<long>(m_at + count));
        m_at += count;
        return out;
    }

private:
    const std::vector<BYTE>& m_bytes;
    size_t m_at;
};

inline void PutU(std::vector<BYTE>& out, std::uint32_t value, int count) {
    for (int i = count - 1; i >= 0; --i)
        out.push_back(static_cast<BYTE>(value >> (8 * i)));
}

inline void PutIndex(std::vector<BYTE>& out, std::uint32_t value) {
    if (value < 0xFF00)
        PutU(out, value, 2);
    else
        PutU(out, value | 0xFF000000u, 4);
}

inline std::string Text4(const std::vector<BYTE>& bytes, size_t at) {
    return at + 4 <= bytes.size()
               ? std::string(bytes.begin() + static_cast<long>(at), bytes.begin() + static_cast<long>(at + 4))
               : std::string();
}

// The same object with every polygon cut into a fan of triangles, so that the
// contents of real files reach the loader, which takes triangles only.
// Surface tags and per-corner coordinates follow their polygon's triangles;
// part and smoothing-group tags are left out.
inline std::vector<BYTE> TriangulatedLwo(const std::vector<BYTE>& bytes) {
    std::vector<BYTE> out(bytes.begin(), bytes.begin() + 12);
    std::vector<std::vector<std::uint32_t>> polygons;   // points of each file polygon
    std::vector<std::vector<std::uint32_t>> triangles;  // new polygons of each file polygon
    size_t at = 12;
    while (at + 8 <= bytes.size()) {
        CLwoCursor top(bytes, at);
        const std::vector<BYTE> id = top.Bytes(4);
        const std::uint32_t size = top.U(4);
        const size_t end = top.At() + size;
        if (end > bytes.size())
            break;
        at = end + (size & 1);
        const std::string name(id.begin(), id.end());
        std::vector<BYTE> body;
        CLwoCursor c(bytes, top.At());
        if (name == "POLS" && Text4(bytes, c.At()) == "FACE") {
            body = c.Bytes(4);
            polygons.clear();
            triangles.clear();
            std::uint32_t next = 0;
            while (c.At() < end) {
                const std::uint32_t count = c.U(2) & 0x3FF;
                std::vector<std::uint32_t> points;
                for (std::uint32_t i = 0; i < count; ++i)
                    points.push_back(c.Index());
                polygons.push_back(points);
                triangles.emplace_back();
                for (std::uint32_t i = 1; i + 1 < count; ++i) {
                    PutU(body, 3, 2);
                    PutIndex(body, points[0]);
                    PutIndex(body, points[i]);
                    PutIndex(body, points[i + 1]);
                    triangles.back().push_back(next++);
                }
            }
        } else if (name == "PTAG" && !triangles.empty() && Text4(bytes, c.At()) != "SURF") {
            continue;  // part and smoothing-group tags: the loader refuses them, and they shape nothing
        } else if (name == "PTAG" && !triangles.empty()) {
            body = c.Bytes(4);
            while (c.At() < end) {
                const std::uint32_t polygon = c.Index();
                const std::uint32_t tag = c.U(2);
                for (std::uint32_t triangle : triangles.at(polygon)) {
                    PutIndex(body, triangle);
                    PutU(body, tag, 2);
                }
            }
        } else if (name == "VMAD" && !triangles.empty()) {
            body = c.Bytes(4);
            const std::uint32_t dimension = c.U(2);
            PutU(body, dimension, 2);
            while (bytes.at(c.At()) != 0)
                body.push_back(bytes[c.At()]), c.Bytes(1);
            body.push_back(0);
            c.Bytes(1);
            if (body.size() % 2 != 0)
                body.push_back(0), c.Bytes(1);
            while (c.At() < end) {
                const std::uint32_t point = c.Index();
                const std::uint32_t polygon = c.Index();
                const std::vector<BYTE> values = c.Bytes(4 * dimension);
                const auto& points = polygons.at(polygon);
                for (size_t t = 0; t < triangles.at(polygon).size(); ++t) {
                    if (point == points[0] || point == points[t + 1] || point == points[t + 2]) {
                        PutIndex(body, point);
                        PutIndex(body, triangles[polygon][t]);
                        body.insert(body.end(), values.begin(), values.end());
                    }
                }
            }
        } else {
            body = c.Bytes(size);
        }
        out.insert(out.end(), id.begin(), id.end());
        PutU(out, static_cast<std::uint32_t>(body.size()), 4);
        out.insert(out.end(), body.begin(), body.end());
        if (body.size() % 2 != 0)
            out.push_back(0);
    }
    const std::uint32_t formSize = static_cast<std::uint32_t>(out.size() - 8);
    for (int i = 0; i < 4; ++i)
        out[4 + i] = static_cast<BYTE>(formSize >> (24 - 8 * i));
    return out;
}

}  // namespace meshfiles
