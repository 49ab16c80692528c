#pragma once
// One opened music file (an "mpegvideo" device): its decoded stream, its
// mode and the position it stands at while it is not playing. The mixer has
// a single music channel; the device table makes sure that only one device
// holds it, so a device that is not stopped owns what the mixer plays.
// MCI's "stop" keeps the position; "play" without "from" goes on from there.

#include <memory>
#include <optional>
#include <string>

#include "platform/audio/mmsystem.h"

typedef struct _Mix_Music Mix_Music;

enum class TMciMode {
    Stopped,
    Playing,
    Paused
};

class CMciMusicDevice {
public:
    // Loads the file for playing; the audio output must be open.
    // MCIERR_FILE_NOT_FOUND for a missing file, MCIERR_INVALID_FILE for one
    // the mixer cannot decode.
    static MCIERROR Open(const std::string& path, std::unique_ptr<CMciMusicDevice>& device);
    ~CMciMusicDevice();
    CMciMusicDevice(const CMciMusicDevice&) = delete;
    CMciMusicDevice& operator=(const CMciMusicDevice&) = delete;

    // From the given position in milliseconds, or on from the current one
    // (from the start once the end was reached; a paused device resumes).
    // MCIERR_OUTOFRANGE for a position past the end.
    MCIERROR Play(std::optional<DWORD> fromMs);
    MCIERROR Pause();
    MCIERROR Resume();
    MCIERROR Stop();

    TMciMode GetMode();
    DWORD GetPosition();
    DWORD GetLength() const { return m_lengthMs; }

private:
    explicit CMciMusicDevice(Mix_Music* music);
    void NoticeEndOfMusic();
    DWORD ReadMixerPosition() const;
    MCIERROR StartAt(DWORD positionMs);

    Mix_Music* m_music;
    TMciMode m_mode = TMciMode::Stopped;
    DWORD m_positionMs = 0;  // where a stopped or paused device stands
    DWORD m_lengthMs = 0;    // 0 when the decoder cannot tell
};
