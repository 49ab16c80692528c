#include "core/CPlaybackClock.h"

#include <utility>

#include "platform/base/Timing.h"
#include "scene/CMP3Player.h"

namespace {

// The music's position for a scene time: whole milliseconds, truncated.
long MusicPosition(float seconds) {
    return static_cast<long>(seconds * 1000.0f);
}

}  // namespace

CPlaybackClock::CPlaybackClock(CMP3Player& music, MusicRequest requestMusic)
    : m_Music(music), m_RequestMusic(std::move(requestMusic)) {
    QueryPerformanceFrequency(&m_llPerformanceFrequency);
    if (m_llPerformanceFrequency <= 0) {
        m_llPerformanceFrequency = 1;
    }
    // Times are measured from here: seconds since the machine started do
    // not fit a float with millisecond resolution after a few hours.
    QueryPerformanceCounter(&m_llPerformanceOrigin);
}

void CPlaybackClock::Start() {
    const float now = myGetTickCount();
    m_fRealStartTime = now;
    m_fLastTick = now;
    m_fCurrentTime = 0.0f;
    m_fRealCurrentTime = 0.0f;
}

void CPlaybackClock::StepClock() {
    const float now = myGetTickCount();
    const float speed = m_fPlaySpeed;
    const float total = m_fTotalTime;
    float time = m_fCurrentTime + (now - m_fLastTick) * speed;
    m_Music.SetPosition(MusicPosition(time));

    if (time < 0.0f) {
        if (speed >= 0.0f) {
            time = 0.0f;
        } else if (m_bLoop) {
            time = total;
        } else {
            time = 0.0f;
            m_bStopped = true;
            m_RequestMusic(false);
            m_fPlaySpeed = 0.0f;
        }
    }
    if (time > total) {
        time = 0.0f;
        if (!m_bLoop) {
            m_RequestMusic(false);
            m_bStopped = true;
            m_fPlaySpeed = 0.0f;
        } else if (speed == 1.0f) {
            // Only real-time play restarts the music with the scene.
            m_Music.SetPosition(0);
            m_RequestMusic(true);
        }
    }
    m_fCurrentTime = time;
    m_fLastTick = now;
    m_bTimeResetPending = false;
    m_fRealCurrentTime = now - m_fRealStartTime;
}

float CPlaybackClock::GetTickCount() const {
    return m_bTimeResetPending ? 0.0f : m_fCurrentTime.load();
}

float CPlaybackClock::GetRealCurrentTime() const {
    return m_fRealCurrentTime;
}

void CPlaybackClock::Play(float speed) {
    m_bStopped = false;
    m_fPlaySpeed = speed;
    m_Music.SetPosition(MusicPosition(m_fCurrentTime));
    if (speed == 1.0f) {
        m_Music.Play();
    } else {
        m_Music.Stop();
    }
}

void CPlaybackClock::Pause() {
    m_fPlaySpeed = 0.0f;
    m_Music.Pause();
}

void CPlaybackClock::Stop() {
    m_bStopped = true;
    Pause();
    ResetTime();
    m_Music.Stop();
    m_Music.SetPosition(0);
}

bool CPlaybackClock::IsStopped() const {
    return m_bStopped;
}

float CPlaybackClock::GetPlaySpeed() const {
    return m_fPlaySpeed;
}

void CPlaybackClock::SetTime(float seconds) {
    m_fCurrentTime = seconds;
    m_Music.SetPosition(MusicPosition(seconds));
    if (!m_bStopped && m_fPlaySpeed == 1.0f) {
        m_Music.Play();
    }
}

void CPlaybackClock::ResetTime() {
    const float now = myGetTickCount();
    m_fLastTick = now;
    m_fCurrentTime = 0.0f;
    m_bTimeResetPending = true;
}

void CPlaybackClock::SetTotalTime(float seconds) {
    m_fTotalTime = seconds;
}

float CPlaybackClock::GetTotalTime() const {
    return m_fTotalTime;
}

void CPlaybackClock::SetLoop(bool loop) {
    m_bLoop = loop;
}

bool CPlaybackClock::IsLoop() const {
    return m_bLoop;
}

void CPlaybackClock::SetClockSource(ClockSource source) {
    std::lock_guard<std::mutex> guard(m_clockSourceMutex);
    m_ClockSource = std::move(source);
}

float CPlaybackClock::myGetTickCount() {
    {
        std::lock_guard<std::mutex> guard(m_clockSourceMutex);
        if (m_ClockSource) {
            return static_cast<float>(m_ClockSource());
        }
    }
    LONGLONG counter = 0;
    QueryPerformanceCounter(&counter);
    return static_cast<float>(static_cast<double>(counter - m_llPerformanceOrigin) /
                              static_cast<double>(m_llPerformanceFrequency));
}
