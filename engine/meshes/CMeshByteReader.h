#pragma once
// A read position inside a block of bytes that never leaves it: every read
// that would end past the limit throws CMeshFormatError instead. The limit is
// the end of the data or, while a chunk is being read, the end of that chunk.
// Mesh files are little-endian (3D Studio) or big-endian (LightWave); both
// orders are offered.

#include <cstddef>
#include <cstdint>
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

    std::uint16_t ReadUInt16LE();
    std::uint32_t ReadUInt32LE();
    float ReadFloatLE();
    std::uint16_t ReadUInt16BE();
    std::uint32_t ReadUInt32BE();
    float ReadFloatBE();
    // Whether the next 4 bytes are the identifier (false when fewer are left).
    bool IsIdentifier(const char (&id)[5]) const;

    // A zero-terminated text: the bytes up to and including the zero byte,
    // which must come before the limit. At most keep bytes are returned.
    CString ReadZeroTerminated(size_t keep);
    // The next count bytes up to the first zero byte (all of them when there
    // is none), at most keep of them.
    CString ReadText(size_t count, size_t keep);

private:
    const BYTE* Take(size_t count);

    const BYTE* m_pData;
    size_t m_Size;
    size_t m_Limit;
    size_t m_Position = 0;
};
