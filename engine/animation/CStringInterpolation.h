#pragma once
// A curve of texts: a step-mode selector curve whose keys pick entries of a
// text table. Each text entry belongs to one key: the entry carries the key's
// identifier and the key's value is that identifier, so removing keys never
// shifts the pairing of the others.

#include <vector>

#include "animation/CInterpolation.h"
#include "platform/base/CString.h"

class CStringInterpolation {
public:
    CStringInterpolation();
    virtual ~CStringInterpolation() = default;

    // Returns the key's identifier (the counter's value when id is -1).
    int Insert(const CString& text, float time, int id);
    // Replaces text and time of key id; nothing when there is no such key.
    void Update(const CString& text, float time, int id);
    void Remove(int id);
    void RemoveAll();

    // The text of the key in force at t ("" before the first key when no key
    // has identifier 0, as the selector then yields 0).
    CString GetValue(float t) const;
    CString GetValue() const;  // at the scene clock's time
    // "" for an unknown identifier or index.
    CString GetPointValue(int id) const;
    CString GetPointValueFromIndex(int index) const;

    void SetMode(TInterpolationMode mode) { m_Selector.SetMode(mode); }
    TInterpolationMode GetMode() const { return m_Selector.GetMode(); }
    void SetLoop(bool loop) { m_Selector.SetLoop(loop); }
    bool GetLoop() const { return m_Selector.GetLoop(); }
    int GetNumberPoints() const { return m_Selector.GetNumberPoints(); }
    float GetPointTime(int id) const { return m_Selector.GetPointTime(id); }
    float GetPointTimeFromIndex(int index) const { return m_Selector.GetPointTimeFromIndex(index); }
    int GetPointIDFromIndex(int index) const { return m_Selector.GetPointIDFromIndex(index); }
    int GetID(int index) const { return m_Selector.GetID(index); }

    // The selector curve, then uint entry count and per entry: string text,
    // uint ID. Load may throw CSceneFileException on damaged data.
    void Save(CSceneFile& file) const;
    void Load(CSceneFile& file);

private:
    struct SEntry {
        CString text;
        int id = 0;
    };

    const SEntry* FindEntry(int id) const;
    SEntry* FindEntry(int id);
    CString TextOf(int id) const;
    // Makes every selector key's value its own identifier (files written
    // before keys were paired this way may hold entry positions instead).
    void PairKeysWithEntries();
    static int SelectorToID(float value);

    CInterpolation m_Selector;
    std::vector<SEntry> m_Entries;
};
