// The "[ParticleSystem 1.00]" text file: what Save writes, what Load reads
// back, in any numeric locale, and how damaged files are refused.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <locale>
#include <stdexcept>
#include <string>
#include <vector>

#include "ParticleTestSupport.h"
#include "objects/CParticleEmitter.h"
#include "objects/CParticleFileException.h"
#include "support/CFileSizeLimit.h"
#include "support/CTempFolder.h"

using particletest::Joined;
using particletest::Replaced;
using particletest::ValidLines;
using particletest::Without;

namespace {

constexpr float kFourDecimals = 0.00005f + 1e-6f;

// An emitter with a value of its own in every setting, most of them with
// more than four decimals.
void SetEverything(CParticleEmitter& emitter) {
    emitter.SetPos(D3DXVECTOR3(1.23456f, -2.5f, 1000.0f));
    emitter.SetGravity(D3DXVECTOR3(0.0f, -9.80665f, 0.125f));
    emitter.SetSpawnDir1(D3DXVECTOR3(-1.11111f, 2.0f, -3.33333f));
    emitter.SetSpawnDir2(D3DXVECTOR3(1.5f, 6.66666f, 0.0f));
    emitter.SetStartColor1(D3DXCOLOR(1.0f, 0.33333f, 0.25f, 1.0f));
    emitter.SetStartColor2(D3DXCOLOR(0.9f, 0.8f, 0.7f, 0.6f));
    emitter.SetEndColor1(D3DXCOLOR(0.1f, 0.2f, 0.3f, 0.0f));
    emitter.SetEndColor2(D3DXCOLOR(0.0f, 0.0f, 0.99999f, 0.5f));
    emitter.SetEmitRate(CMinMax<float>(12.5f, 80.0f));
    emitter.SetEmitRadius(D3DXVECTOR3(0.5f, 0.0f, 0.75f));
    emitter.SetLifetime(CMinMax<float>(0.66666f, 2.0f));
    emitter.SetSize(CMinMax<float>(5.0f, 1.0f));
    emitter.SetSrcBlendMode(D3DBLEND_SRCALPHA);
    emitter.SetDestBlendMode(D3DBLEND_INVSRCCOLOR);
    emitter.SetMaxParticles(1234);
    emitter.SetTexture("media/sprites/particle.png");
}

void ExpectNear(const D3DXVECTOR3& a, const D3DXVECTOR3& b) {
    EXPECT_NEAR(a.x, b.x, kFourDecimals);
    EXPECT_NEAR(a.y, b.y, kFourDecimals);
    EXPECT_NEAR(a.z, b.z, kFourDecimals);
}

void ExpectNear(const D3DXCOLOR& a, const D3DXCOLOR& b) {
    EXPECT_NEAR(a.r, b.r, kFourDecimals);
    EXPECT_NEAR(a.g, b.g, kFourDecimals);
    EXPECT_NEAR(a.b, b.b, kFourDecimals);
    EXPECT_NEAR(a.a, b.a, kFourDecimals);
}

void ExpectNear(const CMinMax<float>& a, const CMinMax<float>& b) {
    EXPECT_NEAR(a.m_Min, b.m_Min, kFourDecimals);
    EXPECT_NEAR(a.m_Max, b.m_Max, kFourDecimals);
}

void ExpectSameSettings(const CParticleEmitter& loaded, const CParticleEmitter& saved) {
    ExpectNear(loaded.GetPos(), saved.GetPos());
    ExpectNear(loaded.GetGravity(), saved.GetGravity());
    ExpectNear(loaded.GetSpawnDir1(), saved.GetSpawnDir1());
    ExpectNear(loaded.GetSpawnDir2(), saved.GetSpawnDir2());
    ExpectNear(loaded.GetStartColor1(), saved.GetStartColor1());
    ExpectNear(loaded.GetStartColor2(), saved.GetStartColor2());
    ExpectNear(loaded.GetEndColor1(), saved.GetEndColor1());
    ExpectNear(loaded.GetEndColor2(), saved.GetEndColor2());
    ExpectNear(loaded.GetEmitRate(), saved.GetEmitRate());
    ExpectNear(loaded.GetEmitRadius(), saved.GetEmitRadius());
    ExpectNear(loaded.GetLifetime(), saved.GetLifetime());
    ExpectNear(loaded.GetSize(), saved.GetSize());
    EXPECT_EQ(loaded.GetSrcBlendMode(), saved.GetSrcBlendMode());
    EXPECT_EQ(loaded.GetDestBlendMode(), saved.GetDestBlendMode());
    EXPECT_EQ(loaded.GetMaxParticles(), saved.GetMaxParticles());
    EXPECT_EQ(loaded.GetTextureFilename(), saved.GetTextureFilename());
}

// Switches the C library's and C++'s global locale to a German one for the
// test's lifetime, if one is installed.
class CGermanLocale {
public:
    CGermanLocale() {
        m_previous = std::setlocale(LC_ALL, nullptr);
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "de_DE@euro", "German"}) {
            if (std::setlocale(LC_ALL, name) != nullptr) {
                m_active = true;
                try {
                    m_previousGlobal = std::locale::global(std::locale(name));
                } catch (const std::runtime_error&) {
                    // The C locale alone is what printf and atof would obey.
                }
                return;
            }
        }
    }
    ~CGermanLocale() {
        std::setlocale(LC_ALL, m_previous.c_str());
        std::locale::global(m_previousGlobal);
    }
    CGermanLocale(const CGermanLocale&) = delete;
    CGermanLocale& operator=(const CGermanLocale&) = delete;

    bool Active() const { return m_active; }

private:
    std::string m_previous;
    std::locale m_previousGlobal = std::locale();
    bool m_active = false;
};

class ParticleFile : public testing::Test {
protected:
    std::string Write(const std::string& text) const { return m_folder.Write("system.txt", text); }

    // Loads `text` into the emitter; the result of Load.
    bool LoadText(const std::string& text) { return m_emitter.Load(Write(text).c_str()); }

    CTempFolder m_folder;
    CParticleEmitter m_emitter;
};

}  // namespace

// ------------------------------------------------------------------ writing and reading back

TEST_F(ParticleFile, SaveWritesEverySettingInOrderWithFourDecimals) {
    SetEverything(m_emitter);
    const std::string path = m_folder.Path("saved.txt");
    ASSERT_TRUE(m_emitter.Save(path.c_str())) << m_emitter.GetLastError();
    const std::vector<BYTE> bytes = CTempFolder::Read(path);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()),
              "[ParticleSystem 1.00]\n"
              "Position=(1.2346, -2.5000, 1000.0000)\n"
              "Gravity=(0.0000, -9.8067, 0.1250)\n"
              "SpawnDir1=(-1.1111, 2.0000, -3.3333)\n"
              "SpawnDir2=(1.5000, 6.6667, 0.0000)\n"
              "StartColor1=(1.0000, 0.3333, 0.2500, 1.0000)\n"
              "StartColor2=(0.9000, 0.8000, 0.7000, 0.6000)\n"
              "EndColor1=(0.1000, 0.2000, 0.3000, 0.0000)\n"
              "EndColor2=(0.0000, 0.0000, 1.0000, 0.5000)\n"
              "EmitRate=(12.5000, 80.0000)\n"
              "EmitRadius=(0.5000, 0.0000, 0.7500)\n"
              "Lifetime=(0.6667, 2.0000)\n"
              "Size=(5.0000, 1.0000)\n"
              "SrcBlend=D3DBLEND_SRCALPHA\n"
              "DestBlend=D3DBLEND_INVSRCCOLOR\n"
              "MaxParticles=1234\n"
              "Texture=media/sprites/particle.png\n");
}

TEST_F(ParticleFile, LoadGivesBackWhatSaveWroteToFourDecimals) {
    SetEverything(m_emitter);
    const std::string path = m_folder.Path("saved.txt");
    ASSERT_TRUE(m_emitter.Save(path.c_str()));
    CParticleEmitter loaded;
    ASSERT_TRUE(loaded.Load(path.c_str())) << loaded.GetLastError();
    ExpectSameSettings(loaded, m_emitter);
}

TEST_F(ParticleFile, NumbersKeepTheirPointUnderAGermanLocale) {
    CGermanLocale german;
    if (!german.Active()) {
        GTEST_SKIP() << "no German locale installed (locale -a)";
    }
    char probe[16];
    std::snprintf(probe, sizeof probe, "%.1f", 0.5);
    ASSERT_EQ(std::string(probe), "0,5") << "the German locale does not change the decimal point";

    SetEverything(m_emitter);
    const std::string path = m_folder.Path("saved.txt");
    ASSERT_TRUE(m_emitter.Save(path.c_str()));
    const std::vector<BYTE> bytes = CTempFolder::Read(path);
    const std::string text(bytes.begin(), bytes.end());
    EXPECT_NE(text.find("EmitRadius=(0.5000, 0.0000, 0.7500)\n"), std::string::npos) << text;
    EXPECT_EQ(text.find(','), text.find(", "));  // every comma separates numbers

    CParticleEmitter loaded;
    ASSERT_TRUE(loaded.Load(path.c_str())) << loaded.GetLastError();
    ExpectSameSettings(loaded, m_emitter);
    EXPECT_FLOAT_EQ(loaded.GetEmitRadius().x, 0.5f);
}

TEST_F(ParticleFile, NumbersAreReadTheWayAtofReadsThem) {
    ASSERT_TRUE(LoadText(Joined(
        Replaced(Replaced(ValidLines(), "Position=", "Position=(  +1.5e1,-2x, junk)"), "EmitRate=", "EmitRate=(7"))));
    EXPECT_FLOAT_EQ(m_emitter.GetPos().x, 15.0f);
    EXPECT_FLOAT_EQ(m_emitter.GetPos().y, -2.0f);
    EXPECT_FLOAT_EQ(m_emitter.GetPos().z, 0.0f);
    // A value cut short: what is missing reads as 0.
    EXPECT_FLOAT_EQ(m_emitter.GetEmitRate().m_Min, 7.0f);
    EXPECT_FLOAT_EQ(m_emitter.GetEmitRate().m_Max, 0.0f);
}

TEST_F(ParticleFile, BlendModeNamesMatchInAnyLetterCase) {
    ASSERT_TRUE(LoadText(Joined(Replaced(Replaced(ValidLines(), "SrcBlend=", "SrcBlend=d3dblend_invdestcolor"),
                                         "DestBlend=", "DestBlend=D3DBlend_SrcAlphaSat"))))
        << m_emitter.GetLastError();
    EXPECT_EQ(m_emitter.GetSrcBlendMode(), D3DBLEND_INVDESTCOLOR);
    EXPECT_EQ(m_emitter.GetDestBlendMode(), D3DBLEND_SRCALPHASAT);
}

TEST_F(ParticleFile, LinesWrittenOnWindowsAndEmptyLinesRead) {
    std::vector<std::string> lines = ValidLines();
    lines.insert(lines.begin() + 3, "");
    lines.insert(lines.begin() + 5, "");
    ASSERT_TRUE(LoadText(Joined(lines, "\r\n"))) << m_emitter.GetLastError();
    EXPECT_EQ(m_emitter.GetTextureFilename(), "particle.png");
    EXPECT_EQ(m_emitter.GetDestBlendMode(), D3DBLEND_ONE);
}

// ------------------------------------------------------------------ refusals

TEST_F(ParticleFile, AFileThatCannotBeOpenedThrowsOurException) {
    const std::string missing = m_folder.Path("no such file.txt");
    try {
        m_emitter.Load(missing.c_str());
        FAIL() << "Load returned";
    } catch (const CParticleFileException& e) {
        EXPECT_EQ(std::string(e.what()), "Can't open file! (invalid filename?)");
    }
    EXPECT_THROW(m_emitter.Load(m_folder.Root().string().c_str()), std::runtime_error);
    // Saving reports it instead.
    EXPECT_FALSE(m_emitter.Save(m_folder.Path("no folder/x.txt").c_str()));
    EXPECT_EQ(m_emitter.GetLastError(), "Can't open file! (invalid filename?)");
}

TEST_F(ParticleFile, RefusesAFileWithoutTheHeader) {
    EXPECT_FALSE(LoadText(Joined(Replaced(ValidLines(), "[Particle", "[ParticleSystem 1.01]"))));
    EXPECT_EQ(m_emitter.GetLastError(), "Invalid Header (missing \"[ParticleSystem 1.00]\")");
    EXPECT_FALSE(LoadText(""));
    EXPECT_EQ(m_emitter.GetLastError(), "Invalid Header (missing \"[ParticleSystem 1.00]\")");
    // The header may stand inside the first line.
    EXPECT_TRUE(LoadText(Joined(Replaced(ValidLines(), "[Particle", "; [ParticleSystem 1.00] by hand"))));
}

TEST_F(ParticleFile, RefusesAKeyGivenTwice) {
    std::vector<std::string> lines = ValidLines();
    lines.push_back("Size=(1.0000, 2.0000)");
    EXPECT_FALSE(LoadText(Joined(lines)));
    EXPECT_EQ(m_emitter.GetLastError(), "Duplicate value encountered.");
}

TEST_F(ParticleFile, RefusesAMissingPropertyByName) {
    EXPECT_FALSE(LoadText(Joined(Without(ValidLines(), "Size="))));
    EXPECT_EQ(m_emitter.GetLastError(), "Missing property \"Size\"!");
    // A key is taken as written: "Lifetime " is not "Lifetime".
    EXPECT_FALSE(LoadText(Joined(Replaced(ValidLines(), "Lifetime=", "Lifetime =(1.0, 2.0)"))));
    EXPECT_EQ(m_emitter.GetLastError(), "Missing property \"Lifetime\"!");
}

TEST_F(ParticleFile, RefusesAnUnknownBlendModeAndKeepsWhatWasReadBefore) {
    m_emitter.SetMaxParticles(77);
    EXPECT_FALSE(LoadText(Joined(Replaced(ValidLines(), "DestBlend=", "DestBlend=D3DBLEND_TWO"))));
    EXPECT_EQ(m_emitter.GetLastError(), "Invalid Blending Mode.");
    EXPECT_FLOAT_EQ(m_emitter.GetPos().z, 3.0f);
    EXPECT_EQ(m_emitter.GetSrcBlendMode(), D3DBLEND_SRCALPHA);
    EXPECT_EQ(m_emitter.GetMaxParticles(), 77);

    m_emitter.SetSrcBlendMode(99);
    EXPECT_FALSE(m_emitter.Save(m_folder.Path("saved.txt").c_str()));
    EXPECT_EQ(m_emitter.GetLastError(), "Invalid Blending Mode.");
}

TEST_F(ParticleFile, RefusesAThousandLinesAfterTheHeader) {
    std::vector<std::string> lines = ValidLines();
    while (lines.size() < 1000) {
        lines.push_back("");
    }
    ASSERT_TRUE(LoadText(Joined(lines))) << "999 lines after the header";
    lines.push_back("");
    EXPECT_FALSE(LoadText(Joined(lines)));
    EXPECT_EQ(m_emitter.GetLastError(), "File too big (most likely not a particle system file)");
    // One endless line counts as many.
    EXPECT_FALSE(LoadText("[ParticleSystem 1.00]\n" + std::string(5000000, 'x')));
    EXPECT_EQ(m_emitter.GetLastError(), "File too big (most likely not a particle system file)");
}

TEST_F(ParticleFile, AFailedSaveLeavesThePreviousFileWhole) {
    const std::string path = m_folder.Path("saved.txt");
    ASSERT_TRUE(m_emitter.Save(path.c_str()));
    const std::vector<BYTE> before = CTempFolder::Read(path);

    m_emitter.SetPos(D3DXVECTOR3(9.0f, 9.0f, 9.0f));
    m_emitter.SetDestBlendMode(99);  // not in the table: found after half the lines
    EXPECT_FALSE(m_emitter.Save(path.c_str()));
    EXPECT_EQ(m_emitter.GetLastError(), "Invalid Blending Mode.");
    EXPECT_EQ(CTempFolder::Read(path), before);

    m_emitter.SetDestBlendMode(D3DBLEND_ONE);
    {
        CFileSizeLimit diskFull(64);
        EXPECT_FALSE(m_emitter.Save(path.c_str()));
    }
    EXPECT_NE(m_emitter.GetLastError().find("saved.txt"), std::string::npos) << m_emitter.GetLastError();
    EXPECT_EQ(CTempFolder::Read(path), before);
    EXPECT_EQ(m_folder.Entries(), std::vector<std::string>{"saved.txt"});  // no temporary file left
}
