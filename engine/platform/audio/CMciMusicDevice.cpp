#include "platform/audio/CMciMusicDevice.h"

#include <SDL_mixer.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <system_error>

namespace {

DWORD SecondsToMilliseconds(double seconds) {
    if (!(seconds > 0.0)) {  // negative means "unknown"; NaN guarded too
        return 0;
    }
    return static_cast<DWORD>(std::llround(std::min(seconds * 1000.0, 4294967295.0)));
}

bool IsExistingFile(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

}  // namespace

MCIERROR CMciMusicDevice::Open(const std::string& path, std::unique_ptr<CMciMusicDevice>& device) {
    if (!IsExistingFile(path)) {
        return MCIERR_FILE_NOT_FOUND;
    }
    Mix_Music* music = Mix_LoadMUS(path.c_str());
    if (!music) {
        return MCIERR_INVALID_FILE;
    }
    device.reset(new CMciMusicDevice(music));
    return MMSYSERR_NOERROR;
}

CMciMusicDevice::CMciMusicDevice(Mix_Music* music) : m_music(music) {
    m_lengthMs = SecondsToMilliseconds(Mix_MusicDuration(m_music));
}

CMciMusicDevice::~CMciMusicDevice() {
    if (m_mode != TMciMode::Stopped) {
        Mix_HaltMusic();
    }
    Mix_FreeMusic(m_music);
}

MCIERROR CMciMusicDevice::Play(std::optional<DWORD> fromMs) {
    NoticeEndOfMusic();
    if (fromMs) {
        if (m_lengthMs > 0 && *fromMs > m_lengthMs) {
            return MCIERR_OUTOFRANGE;
        }
        return StartAt(*fromMs);
    }
    switch (m_mode) {
    case TMciMode::Playing:
        return MMSYSERR_NOERROR;
    case TMciMode::Paused:
        return Resume();
    case TMciMode::Stopped:
        break;
    }
    const bool atEnd = m_lengthMs > 0 && m_positionMs >= m_lengthMs;
    return StartAt(atEnd ? 0 : m_positionMs);
}

MCIERROR CMciMusicDevice::Pause() {
    NoticeEndOfMusic();
    if (m_mode == TMciMode::Playing) {
        Mix_PauseMusic();
        m_positionMs = ReadMixerPosition();
        m_mode = TMciMode::Paused;
    }
    return MMSYSERR_NOERROR;
}

MCIERROR CMciMusicDevice::Resume() {
    NoticeEndOfMusic();
    if (m_mode == TMciMode::Paused) {
        Mix_ResumeMusic();
        m_mode = TMciMode::Playing;
    }
    return MMSYSERR_NOERROR;
}

MCIERROR CMciMusicDevice::Stop() {
    NoticeEndOfMusic();
    if (m_mode != TMciMode::Stopped) {
        m_positionMs = ReadMixerPosition();
        Mix_HaltMusic();
        m_mode = TMciMode::Stopped;
    }
    return MMSYSERR_NOERROR;
}

TMciMode CMciMusicDevice::GetMode() {
    NoticeEndOfMusic();
    return m_mode;
}

DWORD CMciMusicDevice::GetPosition() {
    NoticeEndOfMusic();
    return m_mode == TMciMode::Playing ? ReadMixerPosition() : m_positionMs;
}

// The mixer stops by itself at the end of the music; the device then stands
// stopped at its end, as an MCI device does.
void CMciMusicDevice::NoticeEndOfMusic() {
    if (m_mode == TMciMode::Playing && !Mix_PlayingMusic()) {
        m_mode = TMciMode::Stopped;
        m_positionMs = m_lengthMs;
    }
}

DWORD CMciMusicDevice::ReadMixerPosition() const {
    const DWORD position = SecondsToMilliseconds(Mix_GetMusicPosition(m_music));
    return m_lengthMs > 0 ? std::min(position, m_lengthMs) : position;
}

MCIERROR CMciMusicDevice::StartAt(DWORD positionMs) {
    // Seeking before the first sample is mixed avoids a blip from the start.
    if (Mix_FadeInMusicPos(m_music, 0, 0, positionMs / 1000.0) != 0) {
        m_mode = TMciMode::Stopped;
        return MCIERR_HARDWARE;
    }
    m_mode = TMciMode::Playing;
    return MMSYSERR_NOERROR;
}
