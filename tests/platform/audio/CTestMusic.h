#pragma once
// A short MP3 made at test time: a sine tone written as a WAV file by our own
// code and encoded with the lame encoder (installed by the set-up script).

#include <string>

class CTestMusic {
public:
    // Writes a mono 16-bit 44.1 kHz sine WAV of the given length.
    static bool WriteSineWav(const std::string& path, double seconds, double frequency);
    // Encodes wavPath to mp3Path with "lame --quiet"; false when lame fails.
    static bool EncodeMp3(const std::string& wavPath, const std::string& mp3Path);
};
