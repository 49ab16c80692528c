#include "CBurstMusic.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <numbers>
#include <vector>

#include "support/PcmWaveFile.h"

namespace {

constexpr double kFrequency = 440.0;

}  // namespace

void CBurstMusic::Tone(double start, double end, double amplitude, int channel) {
    m_Tones.push_back({start, end, amplitude, channel});
}

bool CBurstMusic::WriteWav(const std::string& path, double seconds) const {
    const auto frames = static_cast<std::size_t>(seconds * m_Rate);
    std::vector<std::int16_t> samples;
    samples.reserve(frames * static_cast<std::size_t>(m_Channels));
    for (std::size_t frame = 0; frame < frames; ++frame) {
        const double time = static_cast<double>(frame) / m_Rate;
        const double wave = std::sin(2.0 * std::numbers::pi * kFrequency * time);
        for (int channel = 0; channel < m_Channels; ++channel) {
            double value = 0.0;
            for (const STone& tone : m_Tones) {
                if (time >= tone.start && time < tone.end && (tone.channel < 0 || tone.channel == channel)) {
                    value += tone.amplitude * wave;
                }
            }
            samples.push_back(static_cast<std::int16_t>(std::lround(std::clamp(value, -1.0, 1.0) * 32767.0)));
        }
    }
    return lvxtest::WritePcmWave(path, m_Rate, m_Channels, samples);
}

bool CBurstMusic::WriteMp3(const std::string& path, double seconds) const {
    const std::string wav = path + ".wav";
    const bool written = WriteWav(wav, seconds) && lvxtest::EncodeMp3WithLame(wav, path);
    std::remove(wav.c_str());
    return written;
}

bool CBurstMusic::WriteBurst(const std::string& path, int rate, int channels) {
    CBurstMusic music(rate, channels);
    music.Tone(1.0, 2.0, 0.5);
    return music.WriteMp3(path, 3.0);
}

bool CBurstMusic::WriteRepeated(const std::string& source, const std::string& path, int times) {
    std::ifstream in(source, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::ofstream out(path, std::ios::binary);
    for (int i = 0; i < times; ++i) {
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    return !bytes.empty() && static_cast<bool>(out);
}
