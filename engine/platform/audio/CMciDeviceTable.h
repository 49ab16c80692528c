#pragma once
// The devices opened through MCI, by alias, and the one audio output they
// share. Every command runs under one mutex: the host's thread and the render
// thread both send commands. The table lives for the whole process (it is
// never destroyed, so that commands sent from static destructors stay safe).

#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "platform/audio/CMciCommandParser.h"
#include "platform/audio/CMciMusicDevice.h"
#include "platform/audio/CMixerAudioOutput.h"

class CMciDeviceTable {
public:
    static CMciDeviceTable& Instance();

    // Carries out a parsed command; a status value is written to result.
    MCIERROR Execute(const SMciCommand& command, std::string& result);

private:
    CMciDeviceTable() = default;

    MCIERROR OpenDevice(const SMciCommand& command);
    MCIERROR CloseDevice(const std::string& name);
    MCIERROR PlayDevice(CMciMusicDevice& device, const SMciCommand& command);
    MCIERROR ReportStatus(CMciMusicDevice& device, TMciStatusItem item, std::string& result);
    CMciMusicDevice* Find(const std::string& name);
    void ReleaseOutputWhenUnused();

    std::mutex m_mutex;
    CMixerAudioOutput m_output;
    std::map<std::string, std::unique_ptr<CMciMusicDevice>> m_devices;  // by lower-case alias
    CMciMusicDevice* m_channelOwner = nullptr;  // the device the mixer's music channel plays for
};
