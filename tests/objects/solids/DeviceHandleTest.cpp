// The owning handle of device objects: one reference owned, released once on
// destruction, reset and refill; moves hand it over; copies start empty, so
// that two holders never release the same object.
#include <gtest/gtest.h>

#include <utility>

#include "platform/d3d8/CDeviceHandle.h"

namespace {

// Counts its references and its destruction; starts with one reference.
class CCounted {
public:
    explicit CCounted(int& destroyed) : m_destroyed(destroyed) {}
    unsigned long AddRef() { return ++m_references; }
    unsigned long Release() {
        const unsigned long left = --m_references;
        if (left == 0)
            ++m_destroyed;
        return left;
    }
    unsigned long References() const { return m_references; }

private:
    int& m_destroyed;
    unsigned long m_references = 1;
};

// A creation function in the Direct3D style: a new object with one reference.
void Create(CCounted& object, CCounted** out) {
    *out = &object;
}

}  // namespace

TEST(DeviceHandle, ReleasesItsReferenceOnceWhenDestroyedOrReset) {
    int destroyed = 0;
    CCounted first(destroyed), second(destroyed);
    {
        CDeviceHandle<CCounted> handle(&first);
        EXPECT_TRUE(handle);
        EXPECT_EQ(handle.Get(), &first);
        EXPECT_EQ(handle->References(), 1u);
        handle.Reset(&second);
        EXPECT_EQ(destroyed, 1);
        EXPECT_EQ(handle.Get(), &second);
    }
    EXPECT_EQ(destroyed, 2);

    CDeviceHandle<CCounted> empty;
    EXPECT_FALSE(empty);
    empty.Reset();  // nothing to release
    EXPECT_EQ(destroyed, 2);
}

TEST(DeviceHandle, CreationFunctionsFillItAfterTheOldObjectIsReleased) {
    int destroyed = 0;
    CCounted old(destroyed), created(destroyed);
    CDeviceHandle<CCounted> handle(&old);
    CCounted** slot = handle.ReleaseAndGetAddressOf();
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(*slot, nullptr);
    Create(created, slot);
    EXPECT_EQ(handle.Get(), &created);
    EXPECT_EQ(created.References(), 1u);
}

TEST(DeviceHandle, MovesHandTheReferenceOverAndCopiesStartEmpty) {
    int destroyed = 0;
    CCounted object(destroyed), other(destroyed);
    CDeviceHandle<CCounted> source(&object);
    CDeviceHandle<CCounted> moved(std::move(source));
    EXPECT_FALSE(source);
    EXPECT_EQ(moved.Get(), &object);

    CDeviceHandle<CCounted> target(&other);
    target = std::move(moved);
    EXPECT_EQ(destroyed, 1);  // the target's own object
    EXPECT_EQ(target.Get(), &object);
    EXPECT_EQ(object.References(), 1u);

    const CDeviceHandle<CCounted> copy(target);
    EXPECT_FALSE(copy);
    CCounted third(destroyed);
    CDeviceHandle<CCounted> assigned(&third);
    assigned = target;
    EXPECT_FALSE(assigned);
    EXPECT_EQ(destroyed, 2);  // the assigned handle let go of its own
    EXPECT_EQ(object.References(), 1u);
    const CDeviceHandle<CCounted>& same = target;
    target = same;  // self-assignment keeps the object
    EXPECT_EQ(target.Get(), &object);

    CCounted* detached = target.Detach();
    EXPECT_FALSE(target);
    EXPECT_EQ(detached->Release(), 0u);
    EXPECT_EQ(destroyed, 3);
}
