#pragma once
// Walks the marker segments of a JPEG file and checks the Huffman tables
// (DHT segments) before stb_image sees them. stb_image 2.27 trusts the 16
// code-length counts of a table and writes up to 4080 symbol sizes into a
// 257-entry array when they add up to more than 256, corrupting the heap; a
// table with more than 256 codes is refused here instead. The walk finds
// every place a decoder could take for a marker: between segments (skipping
// padding) and inside entropy-coded data (where 0xFF00 is a data byte and
// 0xFFD0..D7 are restart markers).

#include <cstddef>

#include "platform/base/WinTypes.h"

class CJpegMarkerCheck {
public:
    // False when a DHT segment is malformed; true otherwise, also for data
    // that ends early (the decoder reports that).
    static bool HuffmanTablesAreSound(const BYTE* data, std::size_t size);

private:
    static bool IsTableSegmentSound(const BYTE* segment, std::size_t length);
    // Index just past the entropy-coded data starting at `position`.
    static std::size_t SkipEntropyCodedData(const BYTE* data, std::size_t size, std::size_t position);
};
