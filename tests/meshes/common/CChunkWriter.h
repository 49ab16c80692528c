#pragma once
// Builds mesh files byte by byte for the loader tests and fuzz seeds: nested
// chunks whose lengths are filled in when they are closed, in the byte order
// of the format (3D Studio: little-endian, length including the 6-byte
// header; LightWave: big-endian IFF, 4-byte size for chunks and 2-byte size
// for sub-chunks, both excluding the header).

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "platform/base/WinTypes.h"

class CChunkWriter {
public:
    enum class EOrder {
        LittleEndian,
        BigEndian
    };

    explicit CChunkWriter(EOrder order) : m_order(order) {}

    // 3D Studio chunk: id (2), length (4, header included).
    CChunkWriter& Begin3DS(std::uint16_t id) {
        const size_t start = m_bytes.size();
        U16(id);
        const size_t at = m_bytes.size();
        U32(0);
        m_open.push_back({start, 4, at});
        return *this;
    }
    // LightWave chunk: id (4), size (4); sub-chunk: id (4), size (2).
    CChunkWriter& BeginChunk(const char* id) { return BeginIff(id, 4); }
    CChunkWriter& BeginSub(const char* id) { return BeginIff(id, 2); }
    // Closes the innermost chunk, writing its length. IFF chunks of odd size
    // get their pad byte.
    CChunkWriter& End() {
        const SOpen open = m_open.back();
        m_open.pop_back();
        const size_t length = m_bytes.size() - open.from;
        Patch(open.lengthAt, length, open.lengthBytes);
        if (m_order == EOrder::BigEndian && length % 2 != 0) {
            m_bytes.push_back(0);
        }
        return *this;
    }

    CChunkWriter& U16(std::uint32_t value) { return Put(value, 2); }
    CChunkWriter& U32(std::uint32_t value) { return Put(value, 4); }
    CChunkWriter& F32(float value) {
        std::uint32_t bits = 0;
        std::memcpy(&bits, &value, 4);
        return Put(bits, 4);
    }
    CChunkWriter& Id(const char* id) {
        m_bytes.insert(m_bytes.end(), id, id + 4);
        return *this;
    }
    // Zero-terminated; LightWave names are padded to an even length.
    CChunkWriter& Text(const std::string& text) {
        m_bytes.insert(m_bytes.end(), text.begin(), text.end());
        m_bytes.push_back(0);
        if (m_order == EOrder::BigEndian && (text.size() + 1) % 2 != 0) {
            m_bytes.push_back(0);
        }
        return *this;
    }
    CChunkWriter& Raw(const std::vector<BYTE>& bytes) {
        m_bytes.insert(m_bytes.end(), bytes.begin(), bytes.end());
        return *this;
    }

    const std::vector<BYTE>& Bytes() const { return m_bytes; }

private:
    struct SOpen {
        size_t from;  // where the counted bytes start
        int lengthBytes;
        size_t lengthAt;
    };

    CChunkWriter& BeginIff(const char* id, int sizeBytes) {
        Id(id);
        const size_t at = m_bytes.size();
        Put(0, sizeBytes);
        m_open.push_back({m_bytes.size(), sizeBytes, at});
        return *this;
    }

    CChunkWriter& Put(std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) {
            const int shift = m_order == EOrder::LittleEndian ? 8 * i : 8 * (bytes - 1 - i);
            m_bytes.push_back(static_cast<BYTE>(value >> shift));
        }
        return *this;
    }

    void Patch(size_t at, size_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) {
            const int shift = m_order == EOrder::LittleEndian ? 8 * i : 8 * (bytes - 1 - i);
            m_bytes[at + i] = static_cast<BYTE>(value >> shift);
        }
    }

    EOrder m_order;
    std::vector<BYTE> m_bytes;
    std::vector<SOpen> m_open;
};
