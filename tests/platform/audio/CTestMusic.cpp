#include "CTestMusic.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cmath>
#include <cstdint>
#include <fstream>
#include <numbers>
#include <vector>

extern char** environ;

namespace {

void PutLE(std::ofstream& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.put(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
}

}  // namespace

bool CTestMusic::WriteSineWav(const std::string& path, double seconds, double frequency) {
    constexpr std::uint32_t kRate = 44100;
    const auto samples = static_cast<std::uint32_t>(seconds * kRate);
    const std::uint32_t dataBytes = samples * 2;
    std::ofstream out(path, std::ios::binary);
    out.write("RIFF", 4);
    PutLE(out, 36 + dataBytes, 4);
    out.write("WAVEfmt ", 8);
    PutLE(out, 16, 4);  // format chunk size
    PutLE(out, 1, 2);   // PCM
    PutLE(out, 1, 2);   // mono
    PutLE(out, kRate, 4);
    PutLE(out, kRate * 2, 4);  // bytes per second
    PutLE(out, 2, 2);          // block align
    PutLE(out, 16, 2);         // bits per sample
    out.write("data", 4);
    PutLE(out, dataBytes, 4);
    for (std::uint32_t i = 0; i < samples; ++i) {
        const double phase = 2.0 * std::numbers::pi * frequency * i / kRate;
        const auto sample = static_cast<std::int16_t>(std::lround(12000.0 * std::sin(phase)));
        PutLE(out, static_cast<std::uint16_t>(sample), 2);
    }
    return static_cast<bool>(out);
}

bool CTestMusic::EncodeMp3(const std::string& wavPath, const std::string& mp3Path) {
    std::vector<std::string> words{"lame", "--quiet", wavPath, mp3Path};
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    pid_t child = 0;
    if (posix_spawnp(&child, "lame", nullptr, nullptr, argv.data(), environ) != 0) {
        return false;
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child) {
        return false;
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
