#pragma once
// Small ELF images for the tests of the program-image end and the scene
// probe: an ELF header, one section of `payload` bytes and a section header
// table (a null entry, the section, and optionally a .bss-like section that
// occupies no file bytes). Header only.

#include <cstdint>
#include <cstring>
#include <vector>

namespace elftest {

enum TTablePlace {
    kTableLast,
    kTableFirst
};

inline void Put(std::vector<std::uint8_t>& bytes, size_t offset, std::uint64_t value, size_t size) {
    for (size_t i = 0; i < size; ++i)
        bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// A little-endian 64-bit image; noBitsSize > 0 adds a section without file
// bytes whose offset + size lies far beyond the file.
inline std::vector<std::uint8_t> Image64(size_t payload, TTablePlace place, std::uint64_t noBitsSize = 0) {
    constexpr size_t kHeader = 64, kEntry = 64;
    const size_t entries = noBitsSize > 0 ? 3 : 2;
    const size_t table = entries * kEntry;
    std::vector<std::uint8_t> bytes(kHeader + payload + table, 0x90);
    std::memset(bytes.data(), 0, kHeader);
    const std::uint8_t ident[] = {0x7F, 'E', 'L', 'F', 2, 1, 1};
    std::memcpy(bytes.data(), ident, sizeof ident);
    const size_t tableOffset = place == kTableLast ? kHeader + payload : kHeader;
    const size_t payloadOffset = place == kTableLast ? kHeader : kHeader + table;
    Put(bytes, 0x28, tableOffset, 8);  // e_shoff
    Put(bytes, 0x3A, kEntry, 2);       // e_shentsize
    Put(bytes, 0x3C, entries, 2);      // e_shnum
    std::memset(&bytes[tableOffset], 0, table);
    const size_t section = tableOffset + kEntry;
    Put(bytes, section + 0x04, 1, 4);  // SHT_PROGBITS
    Put(bytes, section + 0x18, payloadOffset, 8);
    Put(bytes, section + 0x20, payload, 8);
    if (noBitsSize > 0) {
        const size_t bss = section + kEntry;
        Put(bytes, bss + 0x04, 8, 4);  // SHT_NOBITS
        Put(bytes, bss + 0x18, payloadOffset + payload, 8);
        Put(bytes, bss + 0x20, noBitsSize, 8);
    }
    return bytes;
}

// A little-endian 32-bit image with its section header table last.
inline std::vector<std::uint8_t> Image32(size_t payload) {
    constexpr size_t kHeader = 52, kEntry = 40;
    std::vector<std::uint8_t> bytes(kHeader + payload + 2 * kEntry, 0);
    const std::uint8_t ident[] = {0x7F, 'E', 'L', 'F', 1, 1, 1};
    std::memcpy(bytes.data(), ident, sizeof ident);
    const size_t tableOffset = kHeader + payload;
    Put(bytes, 0x20, tableOffset, 4);  // e_shoff
    Put(bytes, 0x2E, kEntry, 2);       // e_shentsize
    Put(bytes, 0x30, 2, 2);            // e_shnum
    const size_t section = tableOffset + kEntry;
    Put(bytes, section + 0x04, 1, 4);
    Put(bytes, section + 0x10, kHeader, 4);
    Put(bytes, section + 0x14, payload, 4);
    return bytes;
}

}  // namespace elftest
