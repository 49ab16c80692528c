#pragma once
// The audio output that music plays through: SDL's audio subsystem, the
// mixer's MP3 decoder and an opened audio device. Opened on demand and closed
// again when no music needs it, so that a program without sound never opens
// an audio device and a device that failed once is retried on the next open.

#include <string>

#include "platform/audio/mmsystem.h"

class CMixerAudioOutput {
public:
    CMixerAudioOutput() = default;
    ~CMixerAudioOutput();
    CMixerAudioOutput(const CMixerAudioOutput&) = delete;
    CMixerAudioOutput& operator=(const CMixerAudioOutput&) = delete;

    // MMSYSERR_NOERROR when the output is open (or already was);
    // MCIERR_CANNOT_LOAD_DRIVER when SDL has no audio driver or the mixer no
    // MP3 decoder, MCIERR_HARDWARE when no audio device can be opened.
    MCIERROR Open();
    void Close();
    bool IsOpen() const { return m_open; }

    // SDL's text for the last failure of Open, for diagnostics.
    const std::string& GetLastError() const { return m_lastError; }

private:
    MCIERROR Fail(MCIERROR error);

    bool m_open = false;
    bool m_subsystemStarted = false;
    bool m_decodersLoaded = false;
    std::string m_lastError;
};
