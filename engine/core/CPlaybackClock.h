#pragma once
// The screen's playback clock: scene time that runs at a play speed, wraps
// or stops at the total time, and keeps the scene's music in step with it.
//
// The host thread plays, pauses, stops and positions the clock; the render
// thread steps it once per frame (StepClock) and reads the time. The values both
// threads use are atomics. The music is positioned directly, but started and
// stopped by the host's window thread: the clock asks for that through the
// music request (the screen posts messages 5024 / 5025 to its window).
//
//   CPlaybackClock clock(music, [](bool play) { ... });
//   clock.Start();     // a run begins: scene and real time are 0
//   clock.Play(1.0f);  // host thread
//   clock.StepClock(); // render thread, every frame
//   clock.GetTickCount();

#include <atomic>
#include <functional>
#include <mutex>

#include "platform/base/WinTypes.h"

class CMP3Player;

class CPlaybackClock {
public:
    // Seconds of a monotonic clock; tests replace it to step time exactly.
    using ClockSource = std::function<double()>;
    // Asks the window's thread to start (true) or stop (false) the music.
    using MusicRequest = std::function<void(bool play)>;

    CPlaybackClock(CMP3Player& music, MusicRequest requestMusic);
    CPlaybackClock(const CPlaybackClock&) = delete;
    CPlaybackClock& operator=(const CPlaybackClock&) = delete;

    // A run begins: scene time and real time count from 0 now.
    void Start();
    // One frame (render thread): advances the scene time by the source time
    // passed since the last step times the play speed, wraps or stops at the
    // ends and moves the music's position along.
    void StepClock();

    // Scene seconds; 0 from ResetTime until the next step.
    float GetTickCount() const;
    // Seconds since the run started, whatever the speed.
    float GetRealCurrentTime() const;
    // Speed 1 plays the music from the current time; other speeds stop it.
    void Play(float speed);
    void Pause();
    // Pauses, goes back to 0 and stops and rewinds the music.
    void Stop();
    bool IsStopped() const;
    float GetPlaySpeed() const;
    // Moves the time and the music; a clock playing at speed 1 plays on.
    void SetTime(float seconds);
    void ResetTime();
    void SetTotalTime(float seconds);
    float GetTotalTime() const;
    void SetLoop(bool loop);
    bool IsLoop() const;
    // Replaces the performance counter (null restores it).
    void SetClockSource(ClockSource source);
    // Seconds of the clock source; of the performance counter since the clock
    // was made when there is none.
    float myGetTickCount();

private:
    CMP3Player& m_Music;
    MusicRequest m_RequestMusic;

    // Set by the host thread, read by the render thread's step.
    std::atomic<float> m_fPlaySpeed{0.0f};
    std::atomic<bool> m_bStopped{true};
    std::atomic<float> m_fTotalTime{60.0f};
    std::atomic<bool> m_bLoop{true};

    // Written by the step and by the host thread's Play / SetTime / ResetTime.
    std::atomic<float> m_fCurrentTime{0.0f};
    std::atomic<float> m_fRealCurrentTime{0.0f};
    std::atomic<float> m_fRealStartTime{0.0f};
    std::atomic<float> m_fLastTick{0.0f};
    // GetTickCount reads 0 from a reset until the next step has counted from it.
    std::atomic<bool> m_bTimeResetPending{false};

    LONGLONG m_llPerformanceFrequency = 1;
    LONGLONG m_llPerformanceOrigin = 0;
    // Guards m_ClockSource: a test may replace it while the render thread steps.
    std::mutex m_clockSourceMutex;
    ClockSource m_ClockSource;
};
