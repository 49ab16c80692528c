#include "animation/CStringInterpolation.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <utility>

#include "platform/base/SceneTime.h"
#include "scene/CSceneFile.h"

CStringInterpolation::CStringInterpolation() {
    m_Selector.SetMode(IM_STEP);
}

int CStringInterpolation::Insert(const CString& text, float time, int id) {
    const int keyID = m_Selector.Insert(0.0f, time, id);
    m_Selector.Update(static_cast<float>(keyID), time, keyID);
    m_Entries.push_back(SEntry{text, keyID});
    return keyID;
}

void CStringInterpolation::Update(const CString& text, float time, int id) {
    SEntry* entry = FindEntry(id);
    if (entry == nullptr) {
        return;
    }
    m_Selector.Update(static_cast<float>(id), time, id);
    entry->text = text;
}

void CStringInterpolation::Remove(int id) {
    m_Selector.Remove(id);
    const auto found = std::find_if(m_Entries.begin(), m_Entries.end(), [id](const SEntry& e) { return e.id == id; });
    if (found != m_Entries.end()) {
        m_Entries.erase(found);
    }
}

void CStringInterpolation::RemoveAll() {
    m_Selector.RemoveAll();
    m_Entries.clear();
}

CString CStringInterpolation::GetValue(float t) const {
    return TextOf(SelectorToID(m_Selector.GetValue(t)));
}

CString CStringInterpolation::GetValue() const {
    return GetValue(CurrentSceneTime());
}

CString CStringInterpolation::GetPointValue(int id) const {
    return TextOf(id);
}

CString CStringInterpolation::GetPointValueFromIndex(int index) const {
    if (index < 0 || index >= m_Selector.GetNumberPoints()) {
        return CString();
    }
    return TextOf(m_Selector.GetPointIDFromIndex(index));
}

void CStringInterpolation::Save(CSceneFile& file) const {
    m_Selector.Save(file);
    file.WriteUInt(static_cast<unsigned int>(m_Entries.size()));
    for (const SEntry& entry : m_Entries) {
        file.WriteString(entry.text);
        file.WriteUInt(static_cast<unsigned int>(entry.id));
    }
}

void CStringInterpolation::Load(CSceneFile& file) {
    m_Selector.Load(file);
    m_Entries.clear();
    // An entry is at least an empty string (4 bytes) and an ID (4 bytes).
    const unsigned int count = file.ReadCount(4 + 4);
    for (unsigned int i = 0; i < count; ++i) {
        CString text = file.ReadString();
        const int id = static_cast<int>(file.ReadUInt());
        m_Entries.push_back(SEntry{std::move(text), id});
    }
    PairKeysWithEntries();
}

void CStringInterpolation::PairKeysWithEntries() {
    for (int i = 0; i < m_Selector.GetNumberPoints(); ++i) {
        const int id = m_Selector.GetPointIDFromIndex(i);
        // Only the value changes, so the key order stays as it is.
        m_Selector.Update(static_cast<float>(id), m_Selector.GetPointTimeFromIndex(i), id);
    }
}

const CStringInterpolation::SEntry* CStringInterpolation::FindEntry(int id) const {
    const auto found = std::find_if(m_Entries.begin(), m_Entries.end(), [id](const SEntry& e) { return e.id == id; });
    return found != m_Entries.end() ? &*found : nullptr;
}

CStringInterpolation::SEntry* CStringInterpolation::FindEntry(int id) {
    return const_cast<SEntry*>(std::as_const(*this).FindEntry(id));
}

CString CStringInterpolation::TextOf(int id) const {
    const SEntry* entry = FindEntry(id);
    return entry ? entry->text : CString();
}

int CStringInterpolation::SelectorToID(float value) {
    // Truncation toward zero; values no identifier can have select nothing.
    const float truncated = std::trunc(value);
    if (!(truncated >= static_cast<float>(INT_MIN) && truncated < static_cast<float>(INT_MAX))) {
        return INT_MIN;
    }
    return static_cast<int>(truncated);
}
