#include "platform/d3dxtex/CJpegMarkerCheck.h"

namespace {

constexpr BYTE kDht = 0xC4;
constexpr BYTE kSoi = 0xD8;
constexpr BYTE kEoi = 0xD9;
constexpr BYTE kSos = 0xDA;
constexpr BYTE kTem = 0x01;

bool IsRestart(BYTE marker) {
    return marker >= 0xD0 && marker <= 0xD7;
}

// Markers without a length field.
bool IsStandalone(BYTE marker) {
    return marker == kSoi || marker == kTem || IsRestart(marker);
}

}  // namespace

bool CJpegMarkerCheck::HuffmanTablesAreSound(const BYTE* data, std::size_t size) {
    std::size_t position = 0;
    while (position < size) {
        // Find the next marker: 0xFF (any number of them) then a non-0xFF byte;
        // other bytes are padding, which decoders skip.
        if (data[position] != 0xFF) {
            ++position;
            continue;
        }
        while (position < size && data[position] == 0xFF) {
            ++position;
        }
        if (position >= size) {
            break;
        }
        const BYTE marker = data[position++];
        if (marker == kEoi) {
            break;
        }
        if (marker == 0x00 || IsStandalone(marker)) {
            continue;
        }
        if (size - position < 2) {
            break;
        }
        const std::size_t length = (static_cast<std::size_t>(data[position]) << 8) | data[position + 1];
        if (length < 2) {
            return marker != kDht;
        }
        const std::size_t available = size - position;
        if (marker == kDht &&
            !IsTableSegmentSound(data + position + 2, (length <= available ? length : available) - 2)) {
            return false;
        }
        if (length > available) {
            break;
        }
        position += length;
        if (marker == kSos) {
            position = SkipEntropyCodedData(data, size, position);
        }
    }
    return true;
}

// Each table: class/index byte, 16 counts, then as many symbols as the
// counts add up to (at most 256).
bool CJpegMarkerCheck::IsTableSegmentSound(const BYTE* segment, std::size_t length) {
    std::size_t offset = 0;
    while (offset < length) {
        if (length - offset < 17) {
            return false;
        }
        std::size_t symbols = 0;
        for (int i = 1; i <= 16; ++i) {
            symbols += segment[offset + i];
        }
        if (symbols > 256 || length - offset - 17 < symbols) {
            return false;
        }
        offset += 17 + symbols;
    }
    return true;
}

std::size_t CJpegMarkerCheck::SkipEntropyCodedData(const BYTE* data, std::size_t size, std::size_t position) {
    while (position + 1 < size) {
        if (data[position] == 0xFF && data[position + 1] != 0x00 && !IsRestart(data[position + 1]) &&
            data[position + 1] != 0xFF) {
            return position;
        }
        ++position;
    }
    return size;
}
