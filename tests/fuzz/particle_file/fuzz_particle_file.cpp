// Feeds arbitrary bytes to a particle emitter's Load through a file, as a
// host loading a "[ParticleSystem 1.00]" file does. A damaged file must be
// refused with a message, never crash or read past a line or a value; a
// file that loads must save and load again.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "../FuzzFiles.h"
#include "objects/CParticleEmitter.h"
#include "objects/CParticleFileException.h"

namespace {

using fuzzfiles::TemporaryFile;
using fuzzfiles::WriteFile;

struct SFiles {
    std::string input = TemporaryFile("lvx_particle_in_XXXXXX");
    std::string saved = TemporaryFile("lvx_particle_out_XXXXXX");
    ~SFiles() {
        std::remove(input.c_str());
        std::remove(saved.c_str());
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    static SFiles files;
    WriteFile(files.input, data, size);
    CParticleEmitter emitter;
    bool loaded = false;
    try {
        loaded = emitter.Load(files.input.c_str());
    } catch (const CParticleFileException&) {
        __builtin_trap();  // the file is there: it must open
    }
    if (!loaded) {
        if (emitter.GetLastError().empty()) {
            __builtin_trap();  // a refusal always says why
        }
        return 0;
    }
    // What loaded saves, and what it saved loads.
    if (!emitter.Save(files.saved.c_str())) {
        __builtin_trap();
    }
    CParticleEmitter again;
    if (!again.Load(files.saved.c_str()) || again.GetMaxParticles() != emitter.GetMaxParticles() ||
        again.GetSrcBlendMode() != emitter.GetSrcBlendMode() ||
        again.GetDestBlendMode() != emitter.GetDestBlendMode()) {
        __builtin_trap();
    }
    return 0;
}
