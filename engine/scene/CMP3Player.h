#pragma once
// The scene's music: one MP3 file played through MCI command strings under
// the alias "mp3". The screen's clock keeps the position in step with the
// scene time and asks the window's thread to start and stop the music
// (messages 5024 and 5025). While the player is disabled, the commands that
// would make sound (open, play, resume) are not sent.

#include <atomic>
#include <functional>
#include <mutex>
#include <thread>

#include "platform/audio/mmsystem.h"
#include "platform/base/CEvent.h"
#include "platform/base/CString.h"

class CSceneFile;

class CMP3Player {
public:
    // Where command strings go: mciSendStringA unless a test or host replaces
    // it. Returns the MCI error code.
    using CommandSender = std::function<MCIERROR(const CString& command)>;

    CMP3Player();
    // Forgets the path and closes the device.
    virtual ~CMP3Player();
    CMP3Player(const CMP3Player&) = delete;
    CMP3Player& operator=(const CMP3Player&) = delete;

    // Bool loop, Bool enabled and, only when enabled, the music file.
    virtual void Save(CSceneFile& file);
    // Reads them back; an enabled player stops, closes and opens the file
    // read (the extracted copy for packed scenes). Always true.
    virtual bool Load(CSceneFile& file);

    // Closes, then opens the file under the alias (enabled only).
    void Initialize();
    // Plays from the position (enabled only); with loop set also Loop().
    void Play();
    // Stops and rewinds the position to 0.
    void Stop();
    void Pause();
    void Resume();
    void Kill();
    // Starts the loop watcher, which waits until Break. The music itself
    // restarts through the clock when the scene time wraps.
    void Loop();
    // Ends the loop watcher and stops.
    void Break();

    // Storing false also stops the music (Break).
    void SetLoop(bool loop);
    bool GetLoop() const { return m_bLoop; }
    void SetEnable(bool enable) { m_bEnable = enable; }
    bool GetEnable() const { return m_bEnable; }
    void SetPath(const CString& path);
    CString GetPath() const;
    // Milliseconds; written by the render thread every frame.
    void SetPosition(long position) { m_lPosition = position; }
    long GetPosition() const { return m_lPosition; }
    long GetLength() const { return 0; }

    // Replaces where commands go (an empty function restores mciSendStringA).
    void SetCommandSender(CommandSender sender);

private:
    // Sends one command; with report set, an error is shown as
    // "Sound Error: <text>".
    void Send(const CString& command, bool report);
    void StopLoopWatcher();
    // The file the open command names: the path, or the copy a packed scene
    // extracted for it.
    CString FileToOpen() const;

    CEvent m_LoopEvent{false, false};
    mutable std::mutex m_pathMutex;
    CString m_Path;
    CString m_ExtractedFile;  // "music.tmp" of a packed scene, else empty
    std::atomic<bool> m_bLoop{false};
    std::atomic<bool> m_bEnable{false};
    std::atomic<long> m_lPosition{0};

    std::mutex m_senderMutex;
    CommandSender m_Sender;
    std::mutex m_watcherMutex;
    std::thread m_LoopWatcher;
};
