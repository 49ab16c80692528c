#include "meshes/CMeshByteReader.h"

#include <algorithm>
#include <cstring>

void CMeshByteReader::SetLimit(size_t limit) {
    if (limit < m_Position || limit > m_Size) {
        throw CMeshFormatError();
    }
    m_Limit = limit;
}

void CMeshByteReader::Seek(size_t position) {
    if (position > m_Limit) {
        throw CMeshFormatError();
    }
    m_Position = position;
}

void CMeshByteReader::Skip(size_t count) {
    Take(count);
}

bool CMeshByteReader::IsIdentifier(const char (&id)[5]) const {
    return Remaining() >= 4 && std::memcmp(m_pData + m_Position, id, 4) == 0;
}

CString CMeshByteReader::ReadZeroTerminated(size_t keep) {
    if (Remaining() == 0) {
        throw CMeshFormatError();
    }
    const BYTE* start = Current();
    const void* zero = std::memchr(start, 0, Remaining());
    if (zero == nullptr) {
        throw CMeshFormatError();
    }
    const size_t length = static_cast<size_t>(static_cast<const BYTE*>(zero) - start);
    Take(length + 1);
    return CString(reinterpret_cast<const char*>(start), std::min(length, keep));
}

CString CMeshByteReader::ReadText(size_t count, size_t keep) {
    if (count == 0) {
        return CString();
    }
    const BYTE* start = Take(count);
    const void* zero = std::memchr(start, 0, count);
    const size_t length = zero != nullptr ? static_cast<size_t>(static_cast<const BYTE*>(zero) - start) : count;
    return CString(reinterpret_cast<const char*>(start), std::min(length, keep));
}
