#include "CBurstMusic.h"

#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <numbers>

extern char** environ;

namespace {

constexpr double kFrequency = 440.0;

void PutLE(std::ofstream& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.put(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
}

bool Run(std::vector<std::string> words) {
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    pid_t child = 0;
    if (posix_spawnp(&child, argv[0], nullptr, nullptr, argv.data(), environ) != 0) {
        return false;
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child) {
        return false;
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

void CBurstMusic::Tone(double start, double end, double amplitude, int channel) {
    m_Tones.push_back({start, end, amplitude, channel});
}

bool CBurstMusic::WriteWav(const std::string& path, double seconds) const {
    const auto frames = static_cast<std::uint32_t>(seconds * m_Rate);
    const auto channels = static_cast<std::uint32_t>(m_Channels);
    const std::uint32_t dataBytes = frames * channels * 2;
    std::ofstream out(path, std::ios::binary);
    out.write("RIFF", 4);
    PutLE(out, 36 + dataBytes, 4);
    out.write("WAVEfmt ", 8);
    PutLE(out, 16, 4);  // format chunk size
    PutLE(out, 1, 2);   // PCM
    PutLE(out, channels, 2);
    PutLE(out, static_cast<std::uint32_t>(m_Rate), 4);
    PutLE(out, static_cast<std::uint32_t>(m_Rate) * channels * 2, 4);  // bytes per second
    PutLE(out, channels * 2, 2);                                       // block align
    PutLE(out, 16, 2);                                                 // bits per sample
    out.write("data", 4);
    PutLE(out, dataBytes, 4);
    for (std::uint32_t frame = 0; frame < frames; ++frame) {
        const double time = static_cast<double>(frame) / m_Rate;
        const double wave = std::sin(2.0 * std::numbers::pi * kFrequency * time);
        for (int channel = 0; channel < m_Channels; ++channel) {
            double value = 0.0;
            for (const STone& tone : m_Tones) {
                if (time >= tone.start && time < tone.end && (tone.channel < 0 || tone.channel == channel)) {
                    value += tone.amplitude * wave;
                }
            }
            const auto sample = static_cast<std::int16_t>(std::lround(std::clamp(value, -1.0, 1.0) * 32767.0));
            PutLE(out, static_cast<std::uint16_t>(sample), 2);
        }
    }
    return static_cast<bool>(out);
}

bool CBurstMusic::WriteMp3(const std::string& path, double seconds) const {
    const std::string wav = path + ".wav";
    const bool written = WriteWav(wav, seconds) && Run({"lame", "--quiet", wav, path});
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
