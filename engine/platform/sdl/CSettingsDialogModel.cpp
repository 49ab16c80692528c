#include "platform/sdl/CSettingsDialogModel.h"

namespace {

bool InGroup(int index, std::size_t buttons) {
    return index >= 0 && static_cast<std::size_t>(index) < buttons;
}

}  // namespace

CSettingsDialogModel::CSettingsDialogModel(const SDisplaySettings& initial) : m_values(initial) {}

void CSettingsDialogModel::SelectResolution(int index) {
    if (InGroup(index, kResolutionLabels.size()))
        m_values.resolution = index;
}

void CSettingsDialogModel::SelectColorDepth(int index) {
    if (InGroup(index, kColorLabels.size()))
        m_values.colorDepth = index;
}

void CSettingsDialogModel::Accept() {
    if (m_state == State::Open)
        m_state = State::Accepted;
}

void CSettingsDialogModel::Cancel() {
    if (m_state == State::Open)
        m_state = State::Cancelled;
}

bool CSettingsDialogModel::CommitTo(SDisplaySettings& target) const {
    if (!IsAccepted())
        return false;
    target = m_values;
    return true;
}
