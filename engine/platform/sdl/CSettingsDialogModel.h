#pragma once
// What the "Lumivexis settings" dialog edits and how it ends, apart from how
// it is drawn: the dialog starts from the current values, the controls change
// a working copy, OK hands the copy back and Cancel (Escape, closing the
// window) drops it.

#include <array>

#include "platform/window/SDisplaySettings.h"

class CSettingsDialogModel {
public:
    static constexpr std::array<const char*, 5> kResolutionLabels = {"640 x 480", "800 x 600", "1024 x 768",
                                                                     "1280 x 1024", "1600 x 1200"};
    static constexpr std::array<const char*, 2> kColorLabels = {"16 bits", "32 bits"};

    explicit CSettingsDialogModel(const SDisplaySettings& initial);

    // The values the controls show.
    const SDisplaySettings& Values() const { return m_values; }

    // Radio groups: an index outside the group's buttons is ignored.
    void SelectResolution(int index);
    void SelectColorDepth(int index);
    void SetFullscreen(bool fullscreen) { m_values.fullscreen = fullscreen; }
    void SetViewInfo(bool viewInfo) { m_values.viewInfo = viewInfo; }

    // OK and Cancel end the dialog; the first of them counts.
    void Accept();
    void Cancel();
    bool IsFinished() const { return m_state != State::Open; }
    bool IsAccepted() const { return m_state == State::Accepted; }

    // Writes the edited values into target if the dialog was accepted and
    // returns whether it did.
    bool CommitTo(SDisplaySettings& target) const;

private:
    enum class State {
        Open,
        Accepted,
        Cancelled
    };

    SDisplaySettings m_values;
    State m_state = State::Open;
};
