#include "platform/d3dxmesh/CXFileDecompressor.h"

#include <zlib.h>

#include <algorithm>

namespace {

constexpr size_t kHeaderSize = 16;
constexpr size_t kDictionaryLimit = 32768;  // deflate's window
// Far more than any mesh the engine draws; a declared size above it is
// taken for damage rather than inflated.
constexpr size_t kLargestFile = size_t{512} << 20;

std::uint16_t Word(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

}  // namespace

bool CXFileDecompressor::InflateBlock(const std::uint8_t* in, size_t inSize,
                                      const std::vector<std::uint8_t>& dictionary, std::uint8_t* out, size_t outSize) {
    z_stream stream{};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) {
        return false;
    }
    bool good = true;
    if (!dictionary.empty()) {
        good = inflateSetDictionary(&stream, dictionary.data(), static_cast<uInt>(dictionary.size())) == Z_OK;
    }
    stream.next_in = const_cast<Bytef*>(in);
    stream.avail_in = static_cast<uInt>(inSize);
    stream.next_out = out;
    stream.avail_out = static_cast<uInt>(outSize);
    if (good) {
        const int result = inflate(&stream, Z_FINISH);
        // The block must give exactly the size it declares.
        good = (result == Z_STREAM_END || result == Z_OK || result == Z_BUF_ERROR) && stream.avail_out == 0;
    }
    inflateEnd(&stream);
    return good;
}

bool CXFileDecompressor::Decompress(const std::uint8_t* data, size_t size, std::vector<std::uint8_t>& body) {
    body.clear();
    if (size < kHeaderSize + 4) {
        return false;
    }
    size_t pos = kHeaderSize;
    const std::uint32_t declared =
        data[pos] | (data[pos + 1] << 8) | (data[pos + 2] << 16) | (static_cast<std::uint32_t>(data[pos + 3]) << 24);
    pos += 4;
    if (declared < kHeaderSize || declared > kLargestFile) {
        return false;
    }
    const size_t expected = declared - kHeaderSize;
    std::vector<std::uint8_t> dictionary;
    while (pos < size) {
        if (size - pos < 4) {
            return false;
        }
        const size_t outSize = Word(data + pos);
        const size_t inSize = Word(data + pos + 2);
        pos += 4;
        // The compressed size counts the "CK" signature.
        if (inSize < 2 || inSize > size - pos || data[pos] != 'C' || data[pos + 1] != 'K') {
            return false;
        }
        if (outSize > expected - body.size()) {
            return false;  // more than the file declared
        }
        const size_t start = body.size();
        body.resize(start + outSize);
        if (!InflateBlock(data + pos + 2, inSize - 2, dictionary, body.data() + start, outSize)) {
            return false;
        }
        // The next block may refer back into this one (and, with a short
        // block, into those before it), up to deflate's window.
        const size_t keep = std::min(body.size(), kDictionaryLimit);
        dictionary.assign(body.end() - static_cast<std::ptrdiff_t>(keep), body.end());
        pos += inSize;
    }
    return body.size() == expected;
}
