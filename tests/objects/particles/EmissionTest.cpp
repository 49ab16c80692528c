// How many particles an emitter emits per update, with which random values,
// how they move and change colour, and when they die. No device is needed:
// Update is driven directly.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "objects/CParticleEmitter.h"

namespace {

constexpr float kQuarter = 0.25f;

// A long-lived, motionless emitter with a fixed rate.
void SetSteady(CParticleEmitter& emitter, float rate) {
    emitter.SetEmitRate(CMinMax<float>(rate, rate));
    emitter.SetLifetime(CMinMax<float>(100.0f, 100.0f));
}

// Calls fn with every living particle.
template <class TFunction>
void ForEachParticle(const CParticleEmitter& emitter, TFunction fn) {
    const auto& pool = emitter.GetParticles();
    for (int i = 0; i < pool.GetTotalElements(); ++i) {
        if (pool.IsAlive(i)) {
            fn(pool.GetAt(i));
        }
    }
}

// Emits exactly one particle (rate 4 for a quarter second), then no more.
const SParticle& EmitOne(CParticleEmitter& emitter) {
    emitter.SetEmitRate(CMinMax<float>(4.0f, 4.0f));
    emitter.Update(0.0f, kQuarter);
    emitter.SetEmitRate(CMinMax<float>(0.0f, 0.0f));
    EXPECT_EQ(emitter.GetNumActiveParticles(), 1);
    const SParticle* found = nullptr;
    ForEachParticle(emitter, [&](const SParticle& particle) { found = &particle; });
    return *found;
}

}  // namespace

// ------------------------------------------------------------------ how many

TEST(ParticleEmission, TenPerSecondInQuarterSecondsCarriesTheHalvesOver) {
    CParticleEmitter emitter;
    SetSteady(emitter, 10.0f);
    std::vector<int> emitted;
    int before = 0;
    for (int i = 0; i < 8; ++i) {
        emitter.Update(kQuarter * static_cast<float>(i + 1), kQuarter);
        emitted.push_back(emitter.GetNumActiveParticles() - before);
        before = emitter.GetNumActiveParticles();
    }
    // 2.5 per update: the carried halves reach 1 at the second update, which
    // is not enough, and exceed it at the third.
    EXPECT_EQ(emitted, (std::vector<int>{2, 2, 3, 2, 3, 2, 3, 2}));
    EXPECT_EQ(before, 19);
}

TEST(ParticleEmission, NeverMoreThanTheMaximumNorThePool) {
    CParticleEmitter emitter;
    SetSteady(emitter, 1000.0f);
    emitter.SetMaxParticles(30);
    emitter.Update(0.0f, 1.0f);
    EXPECT_EQ(emitter.GetNumActiveParticles(), 30);
    emitter.Update(1.0f, 1.0f);
    EXPECT_EQ(emitter.GetNumActiveParticles(), 30);

    // A maximum above the pool's 2000 slots: the pool is the limit.
    emitter.SetMaxParticles(5000);
    emitter.SetEmitRate(CMinMax<float>(100000.0f, 100000.0f));
    emitter.Update(2.0f, 1.0f);
    EXPECT_EQ(emitter.GetNumActiveParticles(), 2000);
    emitter.Update(3.0f, 1.0f);
    EXPECT_EQ(emitter.GetNumActiveParticles(), 2000);
}

TEST(ParticleEmission, WithTheDefaultLifetimeParticlesDieAtTheirFirstUpdate) {
    CParticleEmitter emitter;
    emitter.SetEmitRate(CMinMax<float>(8.0f, 8.0f));
    emitter.Update(0.0f, kQuarter);
    EXPECT_EQ(emitter.GetNumActiveParticles(), 2);
    // The two die; two new ones take their place.
    emitter.Update(kQuarter, kQuarter);
    EXPECT_EQ(emitter.GetNumActiveParticles(), 2);
    emitter.SetEmitRate(CMinMax<float>(0.0f, 0.0f));
    emitter.Update(2 * kQuarter, kQuarter);
    EXPECT_EQ(emitter.GetNumActiveParticles(), 0);
}

TEST(ParticleEmission, ResetEmptiesThePool) {
    CParticleEmitter emitter;
    SetSteady(emitter, 40.0f);
    emitter.Update(0.0f, 1.0f);
    ASSERT_EQ(emitter.GetNumActiveParticles(), 40);
    emitter.Reset();
    EXPECT_EQ(emitter.GetNumActiveParticles(), 0);
}

// ------------------------------------------------------------------ random values

TEST(ParticleRandomNumbers, ARangeRunsFromItsFirstValueByItsWidth) {
    std::srand(7);
    float low = 100.0f;
    float high = -100.0f;
    for (int i = 0; i < 2000; ++i) {
        const float value = CParticleEmitter::RandomNumber(5.0f, 1.0f);
        low = std::min(low, value);
        high = std::max(high, value);
    }
    // (5, 1) gives 5 .. 9, not 1 .. 5.
    EXPECT_GE(low, 5.0f);
    EXPECT_LT(low, 5.1f);
    EXPECT_LE(high, 9.0f);
    EXPECT_GT(high, 8.9f);
    EXPECT_EQ(CParticleEmitter::RandomNumber(3.5f, 3.5f), 3.5f);
}

TEST(ParticleRandomNumbers, EachParticleDrawsItsValuesFromTheSettings) {
    std::srand(11);
    CParticleEmitter emitter;
    emitter.SetEmitRate(CMinMax<float>(400.0f, 400.0f));
    emitter.SetLifetime(CMinMax<float>(2.0f, 3.0f));
    emitter.SetSize(CMinMax<float>(5.0f, 1.0f));
    emitter.SetPos(D3DXVECTOR3(10.0f, 20.0f, 30.0f));
    emitter.SetEmitRadius(D3DXVECTOR3(1.0f, 0.0f, 2.0f));
    emitter.SetSpawnDir1(D3DXVECTOR3(-1.0f, 4.0f, 0.0f));
    emitter.SetSpawnDir2(D3DXVECTOR3(1.0f, 6.0f, 0.0f));
    emitter.SetStartColor1(D3DXCOLOR(1.0f, 0.0f, 0.5f, 1.0f));
    emitter.SetStartColor2(D3DXCOLOR(1.0f, 0.5f, 0.5f, 1.0f));
    emitter.Update(0.0f, 1.0f);
    ASSERT_EQ(emitter.GetNumActiveParticles(), 400);
    float smallest = 100.0f;
    float largest = 0.0f;
    ForEachParticle(emitter, [&](const SParticle& p) {
        smallest = std::min(smallest, p.m_fSize);
        largest = std::max(largest, p.m_fSize);
        EXPECT_GE(p.m_fLifetime, 2.0f);
        EXPECT_LE(p.m_fLifetime, 3.0f);
        EXPECT_EQ(p.m_fAge, 0.0f);
        EXPECT_NEAR(p.m_vPos.x, 10.0f, 1.0f);
        EXPECT_EQ(p.m_vPos.y, 20.0f);
        EXPECT_NEAR(p.m_vPos.z, 30.0f, 2.0f);
        EXPECT_GE(p.m_vDir.y, 4.0f);
        EXPECT_LE(p.m_vDir.y, 6.0f);
        EXPECT_GE(p.m_Color.g, 0.0f);
        EXPECT_LE(p.m_Color.g, 0.5f);
        EXPECT_EQ(p.m_Color.b, 0.5f);
    });
    EXPECT_GE(smallest, 5.0f);
    EXPECT_LE(largest, 9.0f);
    EXPECT_GT(largest, 8.0f);
}

// ------------------------------------------------------------------ motion and colour

TEST(ParticleMotion, MovesByItsVelocityBeforeGravityChangesIt) {
    CParticleEmitter emitter;
    emitter.SetLifetime(CMinMax<float>(10.0f, 10.0f));
    emitter.SetEmitRadius(D3DXVECTOR3(0.0f, 0.0f, 0.0f));
    emitter.SetSpawnDir1(D3DXVECTOR3(1.0f, 0.0f, 0.0f));
    emitter.SetSpawnDir2(D3DXVECTOR3(1.0f, 0.0f, 0.0f));
    emitter.SetGravity(D3DXVECTOR3(0.0f, -10.0f, 0.0f));
    const SParticle& particle = EmitOne(emitter);
    emitter.Update(0.5f, 0.5f);
    EXPECT_FLOAT_EQ(particle.m_vPos.x, 0.5f);
    EXPECT_FLOAT_EQ(particle.m_vPos.y, 0.0f);
    EXPECT_FLOAT_EQ(particle.m_vDir.y, -5.0f);
    emitter.Update(1.0f, 0.5f);
    EXPECT_FLOAT_EQ(particle.m_vPos.x, 1.0f);
    EXPECT_FLOAT_EQ(particle.m_vPos.y, -2.5f);
    EXPECT_FLOAT_EQ(particle.m_fAge, 1.0f);
}

TEST(ParticleMotion, ColourFadesLinearlyToTheEndColourOverTheLifetime) {
    CParticleEmitter emitter;
    emitter.SetLifetime(CMinMax<float>(2.0f, 2.0f));
    emitter.SetStartColor1(D3DXCOLOR(1.0f, 0.0f, 0.0f, 1.0f));
    emitter.SetStartColor2(D3DXCOLOR(1.0f, 0.0f, 0.0f, 1.0f));
    emitter.SetEndColor1(D3DXCOLOR(0.0f, 0.0f, 1.0f, 0.0f));
    emitter.SetEndColor2(D3DXCOLOR(0.0f, 0.0f, 1.0f, 0.0f));
    const SParticle& particle = EmitOne(emitter);
    EXPECT_FLOAT_EQ(particle.m_Color.r, 1.0f);
    EXPECT_FLOAT_EQ(particle.m_ColorStep.r, -0.5f);
    emitter.Update(1.0f, 1.0f);
    EXPECT_FLOAT_EQ(particle.m_Color.r, 0.5f);
    EXPECT_FLOAT_EQ(particle.m_Color.b, 0.5f);
    EXPECT_FLOAT_EQ(particle.m_Color.a, 0.5f);
    emitter.Update(1.9f, 0.9f);
    EXPECT_EQ(emitter.GetNumActiveParticles(), 1);
    // The age reaches the lifetime: the slot is freed.
    emitter.Update(2.0f, 0.1f);
    EXPECT_EQ(emitter.GetNumActiveParticles(), 0);
}
