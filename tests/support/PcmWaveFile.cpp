#include "support/PcmWaveFile.h"

#include <spawn.h>
#include <sys/wait.h>

#include <fstream>

extern char** environ;

namespace lvxtest {
namespace {

void PutLittleEndian(std::ofstream& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.put(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
}

}  // namespace

bool WritePcmWave(const std::string& path, int rate, int channels, const std::vector<std::int16_t>& samples) {
    const auto sampleRate = static_cast<std::uint32_t>(rate);
    const auto channelCount = static_cast<std::uint32_t>(channels);
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    std::ofstream out(path, std::ios::binary);
    out.write("RIFF", 4);
    PutLittleEndian(out, 36 + dataBytes, 4);
    out.write("WAVEfmt ", 8);
    PutLittleEndian(out, 16, 4);  // format chunk size
    PutLittleEndian(out, 1, 2);   // PCM
    PutLittleEndian(out, channelCount, 2);
    PutLittleEndian(out, sampleRate, 4);
    PutLittleEndian(out, sampleRate * channelCount * 2, 4);  // bytes per second
    PutLittleEndian(out, channelCount * 2, 2);               // block align
    PutLittleEndian(out, 16, 2);                             // bits per sample
    out.write("data", 4);
    PutLittleEndian(out, dataBytes, 4);
    for (const std::int16_t sample : samples) {
        PutLittleEndian(out, static_cast<std::uint16_t>(sample), 2);
    }
    return static_cast<bool>(out);
}

bool EncodeMp3WithLame(const std::string& wavPath, const std::string& mp3Path) {
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

}  // namespace lvxtest
