#include "CElfImage.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

constexpr unsigned char kMagic[] = {0x7F, 'E', 'L', 'F'};
constexpr int kClass64 = 2;
constexpr int kBigEndian = 2;
constexpr std::uint32_t kNoBits = 8;  // SHT_NOBITS: a section without bytes in the file (.bss)
// Tables larger than this are not an image the player could be part of.
constexpr std::uint64_t kMaxTableBytes = 16u << 20;

// Reads the header fields of either ELF class and byte order.
class CFieldReader {
public:
    CFieldReader(const std::vector<unsigned char>& bytes, bool bigEndian) : m_bytes(bytes), m_bigEndian(bigEndian) {}

    std::uint64_t Read(size_t offset, size_t size) const {
        std::uint64_t value = 0;
        for (size_t i = 0; i < size; ++i) {
            const unsigned char byte = m_bytes[offset + (m_bigEndian ? i : size - 1 - i)];
            value = value << 8 | byte;
        }
        return value;
    }

private:
    const std::vector<unsigned char>& m_bytes;
    bool m_bigEndian;
};

// Where the class puts the fields (64-bit, or 32-bit).
struct SLayout {
    size_t headerSize;
    size_t word;  // size of addresses and offsets
    size_t phoff, shoff, phentsize, phnum, shentsize, shnum;
    size_t pOffset, pFilesz;          // in a program header
    size_t shType, shOffset, shSize;  // in a section header
};

constexpr SLayout kLayout64{64, 8, 0x20, 0x28, 0x36, 0x38, 0x3A, 0x3C, 0x08, 0x20, 0x04, 0x18, 0x20};
constexpr SLayout kLayout32{52, 4, 0x1C, 0x20, 0x2A, 0x2C, 0x2E, 0x30, 0x04, 0x10, 0x04, 0x10, 0x14};

// Offsets of a damaged header can be anything: a sum that would wrap
// reaches as far as possible instead.
std::uint64_t Reach(std::uint64_t offset, std::uint64_t size) {
    return offset > UINT64_MAX - size ? UINT64_MAX : offset + size;
}

bool ReadBytes(FILE* file, std::uint64_t offset, std::uint64_t count, std::vector<unsigned char>& bytes) {
    bytes.resize(count);
    return fseeko(file, static_cast<off_t>(offset), SEEK_SET) == 0 &&
           std::fread(bytes.data(), 1, bytes.size(), file) == bytes.size();
}

// The furthest end of the table's entries, reading `offset` and `size` of
// each entry; entries of `skipType` (at typeField) have no bytes in the file.
std::uint64_t TableReach(FILE* file, std::uint64_t tableOffset, std::uint64_t count, std::uint64_t entrySize,
                         const SLayout& layout, bool bigEndian, size_t offsetField, size_t sizeField,
                         std::optional<size_t> typeField) {
    const std::uint64_t tableBytes = count * entrySize;
    std::vector<unsigned char> table;
    if (count == 0 || tableBytes > kMaxTableBytes || entrySize < sizeField + layout.word ||
        !ReadBytes(file, tableOffset, tableBytes, table))
        return 0;
    const CFieldReader fields(table, bigEndian);
    std::uint64_t reach = 0;
    for (std::uint64_t entry = 0; entry < count; ++entry) {
        const size_t base = static_cast<size_t>(entry * entrySize);
        if (typeField && fields.Read(base + *typeField, 4) == kNoBits)
            continue;
        reach = std::max(
            reach, Reach(fields.Read(base + offsetField, layout.word), fields.Read(base + sizeField, layout.word)));
    }
    return reach;
}

}  // namespace

std::optional<std::uint64_t> CElfImage::ImageEnd(FILE* file, std::uint64_t fileSize) {
    std::vector<unsigned char> header;
    if (fileSize < kLayout64.headerSize || !ReadBytes(file, 0, kLayout64.headerSize, header) ||
        std::memcmp(header.data(), kMagic, sizeof kMagic) != 0)
        return std::nullopt;
    const SLayout& layout = header[4] == kClass64 ? kLayout64 : kLayout32;
    const bool bigEndian = header[5] == kBigEndian;
    const CFieldReader fields(header, bigEndian);
    const std::uint64_t phoff = fields.Read(layout.phoff, layout.word);
    const std::uint64_t shoff = fields.Read(layout.shoff, layout.word);
    const std::uint64_t phentsize = fields.Read(layout.phentsize, 2);
    const std::uint64_t phnum = fields.Read(layout.phnum, 2);
    const std::uint64_t shentsize = fields.Read(layout.shentsize, 2);
    const std::uint64_t shnum = fields.Read(layout.shnum, 2);

    std::uint64_t end = layout.headerSize;
    if (phnum > 0)
        end = std::max(end, Reach(phoff, phnum * phentsize));
    if (shoff > 0 && shnum > 0)
        end = std::max(end, Reach(shoff, shnum * shentsize));
    end = std::max(end, TableReach(file, phoff, phnum, phentsize, layout, bigEndian, layout.pOffset, layout.pFilesz,
                                   std::nullopt));
    if (shoff > 0)
        end = std::max(end, TableReach(file, shoff, shnum, shentsize, layout, bigEndian, layout.shOffset, layout.shSize,
                                       layout.shType));
    return end;
}
