#pragma once
// A read position inside a block of bytes that never leaves it: every read
// that would end past the limit throws CMeshFormatError instead. The limit is
// the end of the data or, while a chunk is being read, the end of that chunk.
// Mesh files are little-endian (3D Studio) or big-endian (LightWave); both
// orders are offered.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <stdexcept>

#include "platform/base/CString.h"
#include "platform/base/WinTypes.h"

// A file whose structure does not fit its bytes (a length, count or index
// that points outside). Loaders catch it and refuse the file.
class CMeshFormatError : public std::runtime_error {
public:
    CMeshFormatError() : std::runtime_error("mesh file does not fit its data") {}
};

class CMeshByteReader {
public:
    CMeshByteReader(const BYTE* data, size_t size) : m_pData(data), m_Size(size), m_Limit(size) {}

    size_t Position() const { return m_Position; }
    size_t Size() const { return m_Size; }
    size_t Limit() const { return m_Limit; }
    size_t Remaining() const { return m_Limit - m_Position; }
    const BYTE* Current() const { return m_pData + m_Position; }

    // Reads stop at limit from now on (it must lie between the position and
    // the end of the data).
    void SetLimit(size_t limit);
    // Moves to position (between 0 and the limit).
    void Seek(size_t position);
    void Skip(size_t count);

    // The readers are inline: loaders call them once per value of large
    // arrays.
    std::uint16_t ReadUInt16LE() {
        const BYTE* b = Take(2);
        return static_cast<std::uint16_t>(b[0] | (b[1] << 8));
    }
    std::uint32_t ReadUInt32LE() {
        const BYTE* b = Take(4);
        return static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
               (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
    }
    float ReadFloatLE() { return FloatFromBits(ReadUInt32LE()); }
    std::uint16_t ReadUInt16BE() {
        const BYTE* b = Take(2);
        return static_cast<std::uint16_t>((b[0] << 8) | b[1]);
    }
    std::uint32_t ReadUInt32BE() {
        const BYTE* b = Take(4);
        return (static_cast<std::uint32_t>(b[0]) << 24) | (static_cast<std::uint32_t>(b[1]) << 16) |
               (static_cast<std::uint32_t>(b[2]) << 8) | static_cast<std::uint32_t>(b[3]);
    }
    float ReadFloatBE() { return FloatFromBits(ReadUInt32BE()); }
    // Whether the next 4 bytes are the identifier (false when fewer are left).
    bool IsIdentifier(const char (&id)[5]) const;

    // A zero-terminated text: the bytes up to and including the zero byte,
    // which must come before the limit. At most keep bytes are returned.
    CString ReadZeroTerminated(size_t keep);
    // The next count bytes up to the first zero byte (all of them when there
    // is none), at most keep of them.
    CString ReadText(size_t count, size_t keep);

private:
    const BYTE* Take(size_t count) {
        if (count > Remaining()) {
            throw CMeshFormatError();
        }
        const BYTE* bytes = m_pData + m_Position;
        m_Position += count;
        return bytes;
    }
    static float FloatFromBits(std::uint32_t bits) {
        float value = 0.0f;
        std::memcpy(&value, &bits, sizeof(value));
        return value;
    }

    const BYTE* m_pData;
    size_t m_Size;
    size_t m_Limit;
    size_t m_Position = 0;
};
