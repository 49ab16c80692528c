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
#include <type_traits>
#include <vector>

class CKeyFrameCurves {
public:
    // Appends a curve of any kind (scalar, boolean, vector, colour, text).
    template <class TCurve>
    CKeyFrameCurves& Add(TCurve& curve) {
        m_Curves.push_back(SCurve{&curve, &InsertOwnValue<TCurve>, &Remove<TCurve>, &MoveKey<TCurve>});
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

private:
    struct SCurve {
        void* curve;
        int (*insertOwnValue)(void* curve, float time);
        void (*remove)(void* curve, int id);
        void (*moveKey)(void* curve, int id, float time);
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

    std::vector<SCurve> m_Curves;
};
