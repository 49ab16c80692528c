#include "platform/audio/CMciDeviceTable.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

namespace {

std::string Lowercase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// Scene files written on Windows carry backslash paths; when such a path does
// not exist as written, its slash form is tried.
std::string LocateFile(const std::string& path) {
    std::error_code error;
    if (path.find('\\') == std::string::npos || std::filesystem::exists(path, error)) {
        return path;
    }
    std::string slashed = path;
    std::replace(slashed.begin(), slashed.end(), '\\', '/');
    return slashed;
}

const char* ModeName(TMciMode mode) {
    switch (mode) {
    case TMciMode::Playing:
        return "playing";
    case TMciMode::Paused:
        return "paused";
    case TMciMode::Stopped:
        break;
    }
    return "stopped";
}

}  // namespace

CMciDeviceTable& CMciDeviceTable::Instance() {
    static CMciDeviceTable* table = new CMciDeviceTable;
    return *table;
}

MCIERROR CMciDeviceTable::Execute(const SMciCommand& command, std::string& result) {
    std::lock_guard lock(m_mutex);
    result.clear();
    if (command.verb == TMciVerb::Open) {
        return OpenDevice(command);
    }
    if (command.verb == TMciVerb::Close) {
        return CloseDevice(command.device);
    }
    CMciMusicDevice* device = Find(command.device);
    if (!device) {
        return Lowercase(command.device) == "all" ? MCIERR_CANNOT_USE_ALL : MCIERR_INVALID_DEVICE_NAME;
    }
    switch (command.verb) {
    case TMciVerb::Play:
        return PlayDevice(*device, command);
    case TMciVerb::Pause:
        return device->Pause();
    case TMciVerb::Resume:
        return device->Resume();
    case TMciVerb::Stop:
        return device->Stop();
    case TMciVerb::Status:
        return ReportStatus(*device, command.statusItem, result);
    case TMciVerb::Open:
    case TMciVerb::Close:
        break;
    }
    return MCIERR_UNRECOGNIZED_COMMAND;
}

MCIERROR CMciDeviceTable::OpenDevice(const SMciCommand& command) {
    if (!command.deviceType.empty() && Lowercase(command.deviceType) != "mpegvideo") {
        return MCIERR_INVALID_DEVICE_NAME;
    }
    // Without an alias, MCI names the device after its file.
    const std::string name = Lowercase(command.alias.empty() ? command.device : command.alias);
    if (name == "all") {
        return MCIERR_CANNOT_USE_ALL;
    }
    if (m_devices.count(name) != 0) {
        return MCIERR_DUPLICATE_ALIAS;
    }
    const std::string path = LocateFile(command.device);
    std::error_code fileError;
    if (!std::filesystem::is_regular_file(path, fileError)) {
        return MCIERR_FILE_NOT_FOUND;  // before touching the audio device at all
    }
    if (MCIERROR error = m_output.Open()) {
        return error;
    }
    std::unique_ptr<CMciMusicDevice> device;
    if (MCIERROR error = CMciMusicDevice::Open(path, device)) {
        ReleaseOutputWhenUnused();
        return error;
    }
    m_devices.emplace(name, std::move(device));
    return MMSYSERR_NOERROR;
}

MCIERROR CMciDeviceTable::CloseDevice(const std::string& name) {
    const std::string key = Lowercase(name);
    if (key == "all") {
        m_channelOwner = nullptr;
        m_devices.clear();
    } else {
        const auto found = m_devices.find(key);
        if (found == m_devices.end()) {
            return MCIERR_INVALID_DEVICE_NAME;
        }
        if (m_channelOwner == found->second.get()) {
            m_channelOwner = nullptr;
        }
        m_devices.erase(found);
    }
    ReleaseOutputWhenUnused();
    return MMSYSERR_NOERROR;
}

MCIERROR CMciDeviceTable::PlayDevice(CMciMusicDevice& device, const SMciCommand& command) {
    // The mixer plays one music at a time: the device that had the channel
    // stops where it is, as if it had been sent "stop".
    if (m_channelOwner && m_channelOwner != &device) {
        m_channelOwner->Stop();
    }
    m_channelOwner = &device;
    return device.Play(command.from);
}

MCIERROR CMciDeviceTable::ReportStatus(CMciMusicDevice& device, TMciStatusItem item, std::string& result) {
    switch (item) {
    case TMciStatusItem::Mode:
        result = ModeName(device.GetMode());
        break;
    case TMciStatusItem::Position:
        result = std::to_string(device.GetPosition());
        break;
    case TMciStatusItem::Length:
        result = std::to_string(device.GetLength());
        break;
    }
    return MMSYSERR_NOERROR;
}

CMciMusicDevice* CMciDeviceTable::Find(const std::string& name) {
    const auto found = m_devices.find(Lowercase(name));
    return found == m_devices.end() ? nullptr : found->second.get();
}

void CMciDeviceTable::ReleaseOutputWhenUnused() {
    if (m_devices.empty()) {
        m_output.Close();
    }
}
