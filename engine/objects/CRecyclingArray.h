#pragma once
// A fixed pool of N slots that are handed out and given back without any
// allocation: a flag per slot says whether it is in use, and a free slot is
// searched from the slot handed out last, forward, wrapping round at the
// end. Particle emitters keep their particles in one.
//
//   CRecyclingArray<SParticle, 2000> pool;
//   if (SParticle* particle = pool.New()) { ... }   // null: no slot free
//   for (int i = 0; i < pool.GetTotalElements(); ++i) {
//       if (pool.IsAlive(i)) { ... pool.Delete(i); }
//   }
//
// A slot keeps whatever it held when it was given back; New hands it out as
// it is, so the caller initialises it.

#include <array>

template <class T, int N>
class CRecyclingArray {
public:
    static_assert(N > 0, "a pool has at least one slot");

    // A free slot, marked used, or null when none is free; GetLastReport then
    // says why (it stays until the next failure).
    T* New() {
        if (m_iUsedElements >= N) {
            m_pLastReport = "CRecyclingArray::New: too many objects!";
            return nullptr;
        }
        int index = m_iLastNew;
        for (int tried = 0; tried < N && m_bAlive[index]; ++tried) {
            index = (index + 1) % N;
        }
        if (m_bAlive[index]) {
            // The count said there was a free slot, the flags disagree.
            m_pLastReport = "TArrayElement::New(): internal logic error.";
            return nullptr;
        }
        m_bAlive[index] = true;
        ++m_iUsedElements;
        m_iLastNew = index;
        return &m_Elements[index];
    }

    // Gives slot `index` back; a free or invalid slot is left alone.
    void Delete(int index) {
        if (index < 0 || index >= N || !m_bAlive[index]) {
            return;
        }
        m_bAlive[index] = false;
        --m_iUsedElements;
    }

    // Frees every slot; the next search starts at slot 0.
    void DeleteAll() {
        m_bAlive.fill(false);
        m_iUsedElements = 0;
        m_iLastNew = 0;
    }

    bool IsAlive(int index) const { return index >= 0 && index < N && m_bAlive[index]; }
    T& GetAt(int index) { return m_Elements[index]; }
    const T& GetAt(int index) const { return m_Elements[index]; }

    int GetNumUsedElements() const { return m_iUsedElements; }
    int GetNumFreeElements() const { return N - m_iUsedElements; }
    static constexpr int GetTotalElements() { return N; }
    // Where the last slot was handed out: the next search starts there.
    int GetLastNew() const { return m_iLastNew; }
    const char* GetLastReport() const { return m_pLastReport; }

private:
    std::array<T, N> m_Elements{};
    std::array<bool, N> m_bAlive{};
    int m_iUsedElements = 0;
    int m_iLastNew = 0;
    const char* m_pLastReport = nullptr;
};
