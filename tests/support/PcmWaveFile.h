#pragma once
// Test music made on the spot: 16-bit PCM samples written as a WAV file,
// and a WAV file encoded to MP3 by the lame encoder (a package the set-up
// installs), so that no audio file needs to be kept in the tree.

#include <cstdint>
#include <string>
#include <vector>

namespace lvxtest {

// `samples` holds the channels of each frame one after the other.
bool WritePcmWave(const std::string& path, int rate, int channels, const std::vector<std::int16_t>& samples);
// False when lame is missing or fails.
bool EncodeMp3WithLame(const std::string& wavPath, const std::string& mp3Path);

}  // namespace lvxtest
