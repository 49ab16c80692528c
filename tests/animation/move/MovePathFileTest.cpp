// The movement controller's path file: the exact text "%ld" and "%f" write
// in the C locale, round trips under any locale, the forms scanf reads, and
// the files Load refuses without touching the path.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <string>

#include "animation/CMove.h"
#include "support/CErrorCapture.h"
#include "support/CTempFolder.h"

using testing::HasSubstr;

namespace {

// Values whose sixth decimal is rounded (0.0078125 is a tie that rounds to
// even), negative zero, values below the sixth decimal and large ones.
const float kTricky[] = {0.0078125f, 0.01171875f, -0.0f, -1e-7f, 123456.789f, 1e10f, -3.25f, 0.1f, 7.0f, 0.5f, 1e-3f};

CMove TrickyPath() {
    CMove move;
    move.SetMode(MM_HSPLINE);
    move.SetLoop(false);
    const float* v = kTricky;
    move.AddPoint(v[0], v[1], v[2], v[3], v[4], v[5], v[9], v[6], v[7], v[8], v[10]);
    move.AddPoint(1.5f, -2.25f, 3, 0, 0, 1, 12.5f, 0, 1, 0, 0.785398f);
    return move;
}

std::string CFormat(const char* format, double value) {
    char text[128];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// What the C library writes in the C locale: file order is position,
// direction, up, speed, zoom.
std::string ExpectedText() {
    std::setlocale(LC_ALL, "C");
    std::string text = "2\n3\n0\n";
    for (const float value : kTricky) {
        text += CFormat("%f\n", value);
    }
    for (const float value : {1.5f, -2.25f, 3.0f, 0.0f, 0.0f, 1.0f, 0.0f, 1.0f, 0.0f, 12.5f, 0.785398f}) {
        text += CFormat("%f\n", value);
    }
    return text;
}

std::string Text(const std::string& path) {
    const std::vector<BYTE> bytes = CTempFolder::Read(path);
    return std::string(bytes.begin(), bytes.end());
}

// Switches the C library to a German locale (decimal comma) while it lives.
class CGermanNumbers {
public:
    CGermanNumbers() {
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "de_DE@euro"}) {
            if (std::setlocale(LC_ALL, name) != nullptr) {
                m_active = CFormat("%f", 0.5) == "0,500000";
                return;
            }
        }
    }
    ~CGermanNumbers() { std::setlocale(LC_ALL, "C"); }
    bool Active() const { return m_active; }

private:
    bool m_active = false;
};

class MovePathFile : public testing::Test {
protected:
    // Loads `text` into a path of one point, mode linear, loop on; true
    // when it loaded.
    bool LoadInto(CMove& move, const std::string& text) {
        move.SetFilename(m_folder.Write("path.txt", text));
        return move.Load();
    }
    static CMove OnePoint() {
        CMove move;
        move.AddPoint(9, 9, 9, 0, 0, 1, 3, 0, 1, 0, 1);
        return move;
    }
    // Everything the file holds, as the file holds it.
    std::string Saved(const CMove& move) {
        CMove copy = move;
        copy.SetFilename(m_folder.Path("saved.txt"));
        EXPECT_TRUE(copy.Save());
        return Text(m_folder.Path("saved.txt"));
    }

    CTempFolder m_folder;
};

}  // namespace

TEST_F(MovePathFile, SaveWritesExactlyWhatPrintfWritesInTheCLocale) {
    CMove move = TrickyPath();
    move.SetFilename(m_folder.Path("tricky.txt"));
    ASSERT_TRUE(move.Save());
    EXPECT_EQ(Text(m_folder.Path("tricky.txt")), ExpectedText());
}

TEST_F(MovePathFile, ARoundTripKeepsPointsModeAndLoop) {
    const CMove original = TrickyPath();
    CMove loaded;
    ASSERT_TRUE(LoadInto(loaded, Saved(original)));
    EXPECT_EQ(loaded.GetMode(), MM_HSPLINE);
    EXPECT_FALSE(loaded.GetLoop());
    EXPECT_EQ(Saved(loaded), Saved(original));
    EXPECT_FLOAT_EQ(loaded.GetSpeed(1), 12.5f);
}

TEST_F(MovePathFile, AGermanLocaleChangesNeitherTheTextNorWhatIsRead) {
    const std::string expected = ExpectedText();
    CGermanNumbers german;
    if (!german.Active()) {
        GTEST_SKIP() << "no German locale installed (locale -a)";
    }
    EXPECT_EQ(Saved(TrickyPath()), expected);
    CMove loaded;
    ASSERT_TRUE(LoadInto(loaded, "1\n1\n1\n0.500000\n0\n0\n0\n0\n1\n0\n1\n0\n2.250000\n0.500000\n"));
    EXPECT_FLOAT_EQ(loaded.GetSpeed(0), 2.25f);
    EXPECT_FLOAT_EQ(loaded.GetZoom(0), 0.5f);
}

TEST_F(MovePathFile, LoadReadsTheFormsScanfReadsAndAppends) {
    CMove move = OnePoint();
    ASSERT_TRUE(LoadInto(move, "  +1 \r\n2\t7\n+1.5 -2 3e1 0 0 1\n0 1 0\n.5 1E0\n"));
    ASSERT_EQ(move.GetNumberPoints(), 2);
    EXPECT_EQ(move.GetMode(), MM_BSPLINE);
    EXPECT_TRUE(move.GetLoop());  // any non-zero number
    float v[11];
    move.GetPoint(v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9], v[10], 1);
    EXPECT_THAT(v, testing::ElementsAre(1.5f, -2, 30, 0, 0, 1, 0.5f, 0, 1, 0, 1));
    EXPECT_FLOAT_EQ(move.GetSpeed(0), 3.0f);  // the point that was there stays
}

TEST_F(MovePathFile, EveryRefusalSaysWhyAndLeavesThePathAsItWas) {
    const std::string point = "1\n2\n3\n0\n0\n1\n0\n1\n0\n4\n1\n";
    const struct {
        std::string text;
        const char* reason;
    } refusals[] = {
        {"", "ends before its point count"},
        {"2\n1\n", "ends before its loop flag"},
        {"2\n1\n1\n" + point + "1\n2\n", "ends in point 2 of 2"},
        {"1\n1\n1\n1\n2\nabc\n", "\"abc\" on line 6 where a number belongs"},
        {"1\n1\n1\n1\n2\n3\n0,5\n", "\"0,5\" on line 7"},
        {"1\n1.5\n1\n" + point, "\"1.5\" on line 2 where a whole number belongs"},
        {"1\n1\n1\n1e99\n", "out of range"},
        {"1\n9\n1\n" + point, "unknown mode 9"},
        {"-1\n1\n1\n", "negative point count"},
        {"257\n1\n1\n" + point, "holds 257 points; a path holds at most 256"},
    };
    for (const auto& refusal : refusals) {
        CMove move = OnePoint();
        const std::string before = Saved(move);
        CErrorCapture errors;
        EXPECT_FALSE(LoadInto(move, refusal.text)) << refusal.text;
        ASSERT_EQ(errors.Count(), 1u) << refusal.text;
        EXPECT_THAT(errors.Texts()[0], HasSubstr(refusal.reason));
        EXPECT_EQ(Saved(move), before) << refusal.text;
    }
}

TEST_F(MovePathFile, AMissingFileOrOneThatOverfillsThePathIsRefused) {
    CMove move = OnePoint();
    const std::string before = Saved(move);
    CErrorCapture errors;
    move.SetFilename(m_folder.Path("missing.txt"));
    EXPECT_FALSE(move.Load());

    std::string full = "256\n1\n1\n";
    for (int i = 0; i < 256; ++i) {
        full += "0\n0\n0\n0\n0\n1\n0\n1\n0\n1\n1\n";
    }
    EXPECT_FALSE(LoadInto(move, full));
    ASSERT_EQ(errors.Count(), 2u);
    EXPECT_THAT(errors.Texts()[0], HasSubstr("Cannot open the path file"));
    EXPECT_THAT(errors.Texts()[1], HasSubstr("adds 256 points to the 1 there are"));
    EXPECT_EQ(Saved(move), before);
}
