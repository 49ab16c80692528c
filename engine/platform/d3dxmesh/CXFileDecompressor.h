#pragma once
// Turns a compressed ".x" file ("tzip" or "bzip") back into the text or
// binary file it was made from. After the 16-byte header come the size of
// the whole uncompressed file (header included) and blocks of at most
// 64 KiB: the uncompressed and compressed sizes (16 bits each), then "CK"
// and raw deflate data. Each block is inflated with the previous block's
// output as its dictionary.

#include <cstddef>
#include <cstdint>
#include <vector>

class CXFileDecompressor {
public:
    // The uncompressed body (what follows the header); false for damaged
    // data: a block whose sizes lie, a bad signature, a deflate error, or a
    // total that disagrees with the declared size.
    static bool Decompress(const std::uint8_t* data, size_t size, std::vector<std::uint8_t>& body);

private:
    static bool InflateBlock(const std::uint8_t* in, size_t inSize, const std::vector<std::uint8_t>& dictionary,
                             std::uint8_t* out, size_t outSize);
};
