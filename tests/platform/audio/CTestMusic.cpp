#include "CTestMusic.h"

#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

#include "support/PcmWaveFile.h"

bool CTestMusic::WriteSineWav(const std::string& path, double seconds, double frequency) {
    constexpr int kRate = 44100;
    const auto count = static_cast<std::size_t>(seconds * kRate);
    std::vector<std::int16_t> samples(count);
    for (std::size_t i = 0; i < count; ++i) {
        const double phase = 2.0 * std::numbers::pi * frequency * static_cast<double>(i) / kRate;
        samples[i] = static_cast<std::int16_t>(std::lround(12000.0 * std::sin(phase)));
    }
    return lvxtest::WritePcmWave(path, kRate, 1, samples);
}

bool CTestMusic::EncodeMp3(const std::string& wavPath, const std::string& mp3Path) {
    return lvxtest::EncodeMp3WithLame(wavPath, mp3Path);
}
