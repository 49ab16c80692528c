#pragma once
// The engine's one global runtime object. This first part holds what every
// other piece of the engine leans on: the singleton, the engine log, the list
// of registered objects (re-initialised after a device loss), the device
// pointer and the playback clock's stored values. The window, the render
// thread, the frame operations, the camera and fog are added beside these.
//
// Members follow the engine's documented field order; groups that are not
// here yet are marked where they belong.

#include <atomic>
#include <cstdio>
#include <list>
#include <mutex>

#include "platform/base/CMutex.h"
#include "platform/base/CString.h"
#include "platform/base/WinTypes.h"

class CObjects;
class IDirect3DDevice8;

class CScreen {
public:
    // The singleton, created with its default state on first use and kept for
    // the life of the process.
    static CScreen& Instance();

    virtual ~CScreen();
    CScreen(const CScreen&) = delete;
    CScreen& operator=(const CScreen&) = delete;

    // Engine log "log.txt": one printf-style line per call. Any thread may log.
    void Log(const char* format, ...) __attribute__((format(printf, 2, 3)));

    // The Direct3D device, or null while there is none.
    IDirect3DDevice8* GetD3DDevice();

    // Objects that hold device resources register here so that they can be
    // cleaned up and initialised again around a device reset.
    void RegisterObject(CObjects& object);    // appends, duplicates allowed
    void UnregisterObject(CObjects& object);  // removes the first entry, if any
    bool IsObjectRegistered(const CObjects& object) const;
    int GetRegisteredObjectNumber() const;

    // Playback clock (scene time in seconds).
    float GetTickCount();  // 0 while a time reset is pending
    void ResetTime();
    bool IsStopped();
    void SetTotalTime(float seconds);
    float GetTotalTime();
    void SetLoop(bool loop);
    bool IsLoop();

private:
    CScreen();
    void OpenLog();
    // Performance-counter time in seconds.
    float myGetTickCount();

    static CScreen* m_pInstance;

    // (output window)
    // The clock is read by the host thread (timeline, properties) while the
    // render thread advances it, hence the atomics.
    std::atomic<bool> m_bTimeResetPending{false};
    FILE* m_pLogFile = nullptr;
    std::mutex m_logMutex;
    // (light vector for effects, music player, screensaver mode, initialized)
    // (play speed)
    std::atomic<bool> m_bStopped{true};
    std::atomic<float> m_fTotalTime{60.0f};
    std::atomic<bool> m_bLoop{true};
    // (version, field of view, fog, m_pD3D)
    IDirect3DDevice8* m_pd3dDevice = nullptr;
    // (window and presentation settings, stop flag and mutex, background colour,
    //  overlay font and texts, run event, render-on-texture state, input,
    //  presentation parameters, matrices and cameras)
    std::list<CObjects*> m_RegisteredObjects;
    mutable CMutex m_registeredMutex;
    // (desktop screen flag, texture plane)
    std::atomic<float> m_fCurrentTime{0.0f};
    // (real current time)
    float m_fStartTime = 0.0f;
    // (real start time)
    float m_fLastTick = 0.0f;
    LONGLONG m_llPerformanceFrequency = 1;
    // (software vertex processing flag, errors, listener)
};
