#include "scene/CMP3Player.h"

#include "platform/base/ErrorReport.h"
#include "scene/CSceneFile.h"
#include "scene/CSceneFileException.h"

namespace {

bool EndsWithMp3(const CString& path) {
    if (path.size() < 4) {
        return false;
    }
    CString extension = path.Right(4);
    extension.MakeLower();
    return extension == ".mp3";
}

}  // namespace

CMP3Player::CMP3Player() = default;

CMP3Player::~CMP3Player() {
    StopLoopWatcher();
    SetPath("");
    Kill();
}

void CMP3Player::Save(CSceneFile& file) {
    file.WriteBool(m_bLoop);
    file.WriteBool(m_bEnable);
    if (m_bEnable) {
        file.WriteFile(GetPath());
    }
}

bool CMP3Player::Load(CSceneFile& file) {
    m_bLoop = file.ReadBool();
    m_bEnable = file.ReadBool();
    if (m_bEnable) {
        Stop();
        Kill();
        CString path;
        try {
            path = file.ReadFile();
        } catch (const CSceneFileException&) {
            path = "";
        }
        SetPath(path);
        // A package carries the music inside; reading it extracted a copy,
        // and that copy is what can be played. The stored name stays the
        // path, so that saving again writes the same reference.
        if (file.IsPacked() && EndsWithMp3(path)) {
            std::lock_guard<std::mutex> guard(m_pathMutex);
            m_ExtractedFile = CSceneFile::GetMusicFilePath();
        }
        Initialize();
    }
    return true;
}

void CMP3Player::Initialize() {
    if (!m_bEnable) {
        return;
    }
    Kill();
    Send("open \"" + FileToOpen() + "\" type mpegvideo alias mp3", true);
}

void CMP3Player::Play() {
    if (m_bEnable) {
        CString command;
        command.Format("play mp3 from %ld", static_cast<long>(m_lPosition));
        Send(command, true);
    }
    if (m_bLoop) {
        Loop();
    }
}

void CMP3Player::Stop() {
    Send("stop mp3", false);
    m_lPosition = 0;
}

void CMP3Player::Pause() {
    Send("pause mp3", false);
}

void CMP3Player::Resume() {
    if (m_bEnable) {
        Send("resume mp3", true);
    }
}

void CMP3Player::Kill() {
    Send("close mp3", false);
}

void CMP3Player::Loop() {
    std::lock_guard<std::mutex> guard(m_watcherMutex);
    // One watcher at a time: a previous one is ended first, so that threads
    // do not pile up when Play is called repeatedly with loop on.
    if (m_LoopWatcher.joinable()) {
        m_LoopEvent.SetEvent();
        m_LoopWatcher.join();
    }
    m_LoopEvent.ResetEvent();
    m_LoopWatcher = std::thread([this] {
        while (!m_LoopEvent.Wait(5)) {
        }
    });
}

void CMP3Player::Break() {
    StopLoopWatcher();
    Stop();
}

void CMP3Player::StopLoopWatcher() {
    std::lock_guard<std::mutex> guard(m_watcherMutex);
    m_LoopEvent.SetEvent();
    if (m_LoopWatcher.joinable()) {
        m_LoopWatcher.join();
    }
}

void CMP3Player::SetLoop(bool loop) {
    m_bLoop = loop;
    if (!loop) {
        Break();
    }
}

void CMP3Player::SetPath(const CString& path) {
    std::lock_guard<std::mutex> guard(m_pathMutex);
    m_Path = path;
    m_ExtractedFile.clear();
}

CString CMP3Player::GetPath() const {
    std::lock_guard<std::mutex> guard(m_pathMutex);
    return m_Path;
}

CString CMP3Player::FileToOpen() const {
    std::lock_guard<std::mutex> guard(m_pathMutex);
    return m_ExtractedFile.empty() ? m_Path : m_ExtractedFile;
}

void CMP3Player::SetCommandSender(CommandSender sender) {
    std::lock_guard<std::mutex> guard(m_senderMutex);
    m_Sender = std::move(sender);
}

void CMP3Player::Send(const CString& command, bool report) {
    MCIERROR error = MMSYSERR_NOERROR;
    {
        std::lock_guard<std::mutex> guard(m_senderMutex);
        error = m_Sender ? m_Sender(command) : mciSendStringA(command.c_str(), nullptr, 0, nullptr);
    }
    if (error == MMSYSERR_NOERROR || !report) {
        return;
    }
    char text[MAXERRORLENGTH] = {};
    mciGetErrorStringA(error, text, sizeof(text));
    CString message;
    message.Format("Sound Error: %s", text);
    AfxMessageBox(message.c_str(), MB_ICONERROR);
}
