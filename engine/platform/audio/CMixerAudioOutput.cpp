#include "platform/audio/CMixerAudioOutput.h"

#include <SDL.h>
#include <SDL_mixer.h>

namespace {

constexpr int kSampleRate = 44100;
constexpr int kChannels = 2;
constexpr int kChunkSamples = 2048;

}  // namespace

CMixerAudioOutput::~CMixerAudioOutput() {
    Close();
}

MCIERROR CMixerAudioOutput::Open() {
    if (m_open) {
        return MMSYSERR_NOERROR;
    }
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        return Fail(MCIERR_CANNOT_LOAD_DRIVER);
    }
    m_subsystemStarted = true;
    m_decodersLoaded = true;  // Mix_Quit balances Mix_Init even when it fails
    if ((Mix_Init(MIX_INIT_MP3) & MIX_INIT_MP3) == 0) {
        return Fail(MCIERR_CANNOT_LOAD_DRIVER);
    }
    if (Mix_OpenAudio(kSampleRate, MIX_DEFAULT_FORMAT, kChannels, kChunkSamples) != 0) {
        return Fail(MCIERR_HARDWARE);
    }
    m_open = true;
    m_lastError.clear();
    return MMSYSERR_NOERROR;
}

void CMixerAudioOutput::Close() {
    if (m_open) {
        Mix_HaltMusic();
        Mix_CloseAudio();
        m_open = false;
    }
    if (m_decodersLoaded) {
        Mix_Quit();
        m_decodersLoaded = false;
    }
    if (m_subsystemStarted) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        m_subsystemStarted = false;
    }
}

MCIERROR CMixerAudioOutput::Fail(MCIERROR error) {
    m_lastError = SDL_GetError();
    Close();
    return error;
}
