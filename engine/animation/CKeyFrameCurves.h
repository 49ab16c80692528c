#pragma once
// The keyed curves of one object, listed once, so that adding, deleting and
// moving a keyframe reach every curve. All curves of an object share one set
// of keyframes: a keyframe is one key with the same identifier and time in
// each of them.
//
// The list refers to curves the object owns; the object builds it when it
// needs it rather than keeping it (a copied object would still point at the
// original's curves).
//
//   CKeyFrameCurves curves;
//   curves.Add(m_Alpha).Add(m_Position);
//   const int id = curves.AddKeyFrame(2.0f);

#include <cstddef>
#include <memory>
#include <type_traits>
#include <vector>

// A copy of every curve of one object's list (keys with their identifiers,
// modes, loop flags and the next free identifier), taken by
// CKeyFrameCurves::Capture and put back by Restore. The editor keeps one on
// each side of an edit, so that undo restores the keyframes exactly.
class CKeyFrameSnapshot {
public:
    bool IsEmpty() const { return m_Copies.empty(); }

private:
    friend class CKeyFrameCurves;
    std::vector<std::shared_ptr<const void>> m_Copies;
};

class CKeyFrameCurves {
public:
    // Appends a curve of any kind (scalar, boolean, vector, colour, text).
    template <class TCurve>
    CKeyFrameCurves& Add(TCurve& curve) {
        m_Curves.push_back(
            SCurve{&curve, &InsertOwnValue<TCurve>, &Remove<TCurve>, &MoveKey<TCurve>, &Copy<TCurve>, &Assign<TCurve>});
        return *this;
    }

    // Inserts a key at time into every curve, holding the curve's own value
    // there (so nothing visible changes). Returns the identifier the first
    // curve gives the key (list a scalar curve first: vector and colour curves
    // do not report it), -1 when there is none.
    int AddKeyFrame(float time) const;
    void DeleteKeyFrame(int id) const;
    // Moves key id of every curve to time; the values stay.
    void MoveKeyFrame(int id, float time) const;

    CKeyFrameSnapshot Capture() const;
    // Puts back a snapshot that a list of the same curves captured; one of
    // another list (a different count of curves) is ignored.
    void Restore(const CKeyFrameSnapshot& snapshot) const;

private:
    struct SCurve {
        void* curve;
        int (*insertOwnValue)(void* curve, float time);
        void (*remove)(void* curve, int id);
        void (*moveKey)(void* curve, int id, float time);
        std::shared_ptr<const void> (*copy)(const void* curve);
        void (*assign)(void* curve, const void* copy);
    };

    template <class TCurve>
    static int InsertOwnValue(void* curve, float time) {
        TCurve& c = *static_cast<TCurve*>(curve);
        if constexpr (std::is_void_v<decltype(c.Insert(c.GetValue(time), time, -1))>) {
            c.Insert(c.GetValue(time), time, -1);
            return -1;
        } else {
            return c.Insert(c.GetValue(time), time, -1);
        }
    }

    template <class TCurve>
    static void Remove(void* curve, int id) {
        static_cast<TCurve*>(curve)->Remove(id);
    }

    template <class TCurve>
    static void MoveKey(void* curve, int id, float time) {
        TCurve& c = *static_cast<TCurve*>(curve);
        c.Update(c.GetPointValue(id), time, id);
    }

    template <class TCurve>
    static std::shared_ptr<const void> Copy(const void* curve) {
        return std::make_shared<const TCurve>(*static_cast<const TCurve*>(curve));
    }

    template <class TCurve>
    static void Assign(void* curve, const void* copy) {
        *static_cast<TCurve*>(curve) = *static_cast<const TCurve*>(copy);
    }

    std::vector<SCurve> m_Curves;
};
