// The music's waveform: the envelope of tone bursts encoded at test time
// (silent and loud columns at two zooms, another sample rate, stereo), when
// the columns are reduced again, files that give no waveform, music that
// breaks off, and decodings that are replaced or outlive their waveform.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QSignalSpy>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <memory>
#include <random>
#include <thread>

#include "CBurstMusic.h"
#include "common/QtTestApplication.h"
#include "panes/CMusicWaveform.h"
#include "support/CTempFolder.h"

namespace {

CTempFolder* g_pFolder = nullptr;

std::string Path(const std::string& name) {
    return g_pFolder->Path(name);
}

QString QPath(const std::string& name) {
    return QString::fromStdString(Path(name));
}

// Waits until every decoding of the process has ended; then, if asked, lets
// the results that the workers posted arrive.
bool WaitForDecodes(bool deliver = true) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (CMusicWaveform::RunningDecodes() > 0) {
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    if (deliver) {
        QCoreApplication::sendPostedEvents();
    }
    return true;
}

// The loudest and the quietest of the columns that lie wholly in [from, to).
struct SRange {
    float low = std::numeric_limits<float>::max();
    float high = 0.0f;
};
SRange ColumnsIn(const std::vector<float>& columns, float zoom, double from, double to) {
    SRange range;
    const auto first = static_cast<std::size_t>(std::ceil(from * zoom));
    const auto end = std::min(columns.size(), static_cast<std::size_t>(std::floor(to * zoom)));
    for (std::size_t column = first; column < end; ++column) {
        range.low = std::min(range.low, columns[column]);
        range.high = std::max(range.high, columns[column]);
    }
    return range;
}

// Silence up to 1 s and from 2 s, a tone of `loudness` in between. The
// margins leave room for the encoder's smearing of the edges and for its
// delay, which the decoder removes only where the encoder noted it (not at
// 22.05 kHz).
void ExpectBurst(CMusicWaveform& waveform, float zoom, float loudness) {
    SCOPED_TRACE(testing::Message() << "zoom " << zoom);
    const std::vector<float>& columns = waveform.ColumnsForZoom(zoom);
    ASSERT_EQ(columns.size(), static_cast<std::size_t>(std::ceil(waveform.Duration() * zoom)));
    EXPECT_LT(ColumnsIn(columns, zoom, 0.0, 0.9).high, 0.02f);
    EXPECT_GT(ColumnsIn(columns, zoom, 1.1, 1.9).low, loudness * 0.8f);
    EXPECT_LT(ColumnsIn(columns, zoom, 1.1, 1.9).high, loudness * 1.2f);
    EXPECT_LT(ColumnsIn(columns, zoom, 2.1, 3.0).high, 0.02f);
}

void SaveScreenshot(const std::vector<float>& columns, const QString& name) {
    constexpr int kHeight = 40;
    QImage image(static_cast<int>(columns.size()), kHeight, QImage::Format_RGB32);
    image.fill(QColor(40, 40, 40));
    QPainter painter(&image);
    painter.setPen(QColor(90, 160, 220));
    for (int x = 0; x < image.width(); ++x) {
        const int half = static_cast<int>(columns[static_cast<std::size_t>(x)] * (kHeight / 2 - 1));
        painter.drawLine(x, kHeight / 2 - half, x, kHeight / 2 + half);
    }
    painter.end();
    QDir().mkpath(LVX_SCREENSHOT_DIR);
    image.save(QString(LVX_SCREENSHOT_DIR) + "/" + name);
}

class MusicWaveform : public testing::Test {
protected:
    static void SetUpTestSuite() {
        g_pFolder = new CTempFolder();
        ASSERT_TRUE(CBurstMusic::WriteBurst(Path("burst.mp3"))) << "the lame encoder is needed for these tests";
        ASSERT_TRUE(CBurstMusic::WriteBurst(Path("burst 22 kHz.mp3"), 22050));
        CBurstMusic rightOnly(44100, 2);
        rightOnly.Tone(1.0, 2.0, 0.5, 1);
        ASSERT_TRUE(rightOnly.WriteMp3(Path("right only.mp3"), 3.0));
        ASSERT_TRUE(CBurstMusic::WriteRepeated(Path("burst.mp3"), Path("long.mp3"), 100));
    }
    static void TearDownTestSuite() {
        delete g_pFolder;
        g_pFolder = nullptr;
    }

    void SetUp() override { lvxtest::TestApplication(); }
    // No decoding of one test may report into the next.
    void TearDown() override { EXPECT_TRUE(WaitForDecodes()); }
};

TEST_F(MusicWaveform, ToneBurstIsLoudInItsSecondAndSilentAroundAtTwoZooms) {
    CMusicWaveform waveform;
    QSignalSpy ready(&waveform, &CMusicWaveform::Ready);
    waveform.SetFile(QPath("burst.mp3"));
    EXPECT_FALSE(waveform.IsReady());
    EXPECT_TRUE(waveform.ColumnsForZoom(10.0f).empty());

    ASSERT_TRUE(WaitForDecodes());
    EXPECT_EQ(ready.count(), 1);
    ASSERT_TRUE(waveform.IsReady());
    EXPECT_NEAR(waveform.Duration(), 3.0, 0.03);
    ExpectBurst(waveform, 10.0f, 0.5f);
    ExpectBurst(waveform, 160.0f, 0.5f);
    SaveScreenshot(waveform.ColumnsForZoom(40.0f), "waveform_burst.png");
}

TEST_F(MusicWaveform, AnotherRateAndAToneInOneChannelKeepTheirTimes) {
    {
        // At 22.05 kHz a millisecond holds 22.05 samples rather than 44.1.
        CMusicWaveform waveform;
        waveform.SetFile(QPath("burst 22 kHz.mp3"));
        ASSERT_TRUE(WaitForDecodes());
        ASSERT_TRUE(waveform.IsReady());
        EXPECT_NEAR(waveform.Duration(), 3.0, 0.1);
        ExpectBurst(waveform, 20.0f, 0.5f);
    }
    {
        // Mixed to mono, the tone of the right channel alone is half as loud.
        CMusicWaveform waveform;
        waveform.SetFile(QPath("right only.mp3"));
        ASSERT_TRUE(WaitForDecodes());
        ASSERT_TRUE(waveform.IsReady());
        ExpectBurst(waveform, 20.0f, 0.25f);
    }
}

TEST_F(MusicWaveform, ColumnsAreReducedAgainOnlyForANewZoomOrANewFile) {
    CMusicWaveform waveform;
    waveform.SetFile(QPath("burst.mp3"));
    ASSERT_TRUE(WaitForDecodes());
    ASSERT_TRUE(waveform.IsReady());

    const std::vector<float> atTen = waveform.ColumnsForZoom(10.0f);
    EXPECT_EQ(waveform.ColumnsComputed(), 1);
    EXPECT_EQ(waveform.ColumnsForZoom(10.0f), atTen);
    EXPECT_EQ(waveform.ColumnsComputed(), 1);

    // Each column at zoom 5 is the louder of two columns at zoom 10.
    const std::vector<float>& atFive = waveform.ColumnsForZoom(5.0f);
    EXPECT_EQ(waveform.ColumnsComputed(), 2);
    ASSERT_EQ(atFive.size() * 2, atTen.size());
    for (std::size_t column = 0; column < atFive.size(); ++column) {
        EXPECT_EQ(atFive[column], std::max(atTen[2 * column], atTen[2 * column + 1])) << "column " << column;
    }
    EXPECT_EQ(waveform.ColumnsForZoom(10.0f), atTen);
    EXPECT_EQ(waveform.ColumnsComputed(), 3);

    EXPECT_TRUE(waveform.ColumnsForZoom(0.0f).empty());
    EXPECT_TRUE(waveform.ColumnsForZoom(-10.0f).empty());
    EXPECT_TRUE(waveform.ColumnsForZoom(std::numeric_limits<float>::quiet_NaN()).empty());
    EXPECT_EQ(waveform.ColumnsForZoom(10.0f), atTen);

    // The same zoom over the next file's music.
    waveform.SetFile(QPath("long.mp3"));
    EXPECT_TRUE(waveform.ColumnsForZoom(10.0f).empty());
    ASSERT_TRUE(WaitForDecodes());
    ASSERT_TRUE(waveform.IsReady());
    EXPECT_EQ(waveform.ColumnsComputed(), 3);
    EXPECT_EQ(waveform.ColumnsForZoom(10.0f).size(), static_cast<std::size_t>(std::ceil(waveform.Duration() * 10.0)));
    EXPECT_EQ(waveform.ColumnsComputed(), 4);
}

TEST_F(MusicWaveform, FilesThatHoldNoMusicGiveNoWaveformAndNoSignal) {
    std::vector<unsigned char> noise(200000);
    std::mt19937 random(7);
    for (unsigned char& byte : noise) {
        byte = static_cast<unsigned char>(random());
    }
    std::ofstream(Path("noise.mp3"), std::ios::binary)
        .write(reinterpret_cast<const char*>(noise.data()), static_cast<std::streamsize>(noise.size()));
    std::ofstream(Path("empty.mp3"), std::ios::binary);
    std::ofstream(Path("text.mp3")) << std::string(5000, 'x') << "\nnot music at all\n";
    std::filesystem::create_directory(Path("folder.mp3"));

    for (const char* name : {"missing.mp3", "empty.mp3", "text.mp3", "noise.mp3", "folder.mp3"}) {
        SCOPED_TRACE(name);
        CMusicWaveform waveform;
        QSignalSpy ready(&waveform, &CMusicWaveform::Ready);
        waveform.SetFile(QPath(name));
        ASSERT_TRUE(WaitForDecodes());
        EXPECT_EQ(ready.count(), 0);
        EXPECT_FALSE(waveform.IsReady());
        EXPECT_EQ(waveform.Duration(), 0.0);
        EXPECT_TRUE(waveform.ColumnsForZoom(10.0f).empty());
        EXPECT_EQ(waveform.File(), QPath(name));
    }
}

TEST_F(MusicWaveform, MusicThatBreaksOffShowsWhatCameBeforeTheBreak) {
    std::ifstream in(Path("burst.mp3"), std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::ofstream(Path("half.mp3"), std::ios::binary) << bytes.substr(0, bytes.size() / 2);
    std::ofstream(Path("junk after.mp3"), std::ios::binary) << bytes << std::string(50000, '\x5a');

    CMusicWaveform half;
    half.SetFile(QPath("half.mp3"));
    CMusicWaveform junkAfter;
    junkAfter.SetFile(QPath("junk after.mp3"));
    ASSERT_TRUE(WaitForDecodes());

    ASSERT_TRUE(half.IsReady());
    EXPECT_GT(half.Duration(), 1.2);
    EXPECT_LT(half.Duration(), 1.8);
    const std::vector<float>& halfColumns = half.ColumnsForZoom(10.0f);
    EXPECT_EQ(halfColumns.size(), static_cast<std::size_t>(std::ceil(half.Duration() * 10.0)));
    EXPECT_LT(ColumnsIn(halfColumns, 10.0f, 0.0, 0.9).high, 0.02f);
    EXPECT_GT(ColumnsIn(halfColumns, 10.0f, 1.1, 1.2).low, 0.4f);

    ASSERT_TRUE(junkAfter.IsReady());
    EXPECT_NEAR(junkAfter.Duration(), 3.0, 0.03);
    ExpectBurst(junkAfter, 10.0f, 0.5f);
}

TEST_F(MusicWaveform, NoPathDropsTheWaveformAndTheSamePathKeepsIt) {
    CMusicWaveform waveform;
    QSignalSpy ready(&waveform, &CMusicWaveform::Ready);
    waveform.SetFile(QString());
    EXPECT_EQ(CMusicWaveform::RunningDecodes(), 0);

    waveform.SetFile(QPath("burst.mp3"));
    ASSERT_TRUE(WaitForDecodes());
    ASSERT_TRUE(waveform.IsReady());
    waveform.SetFile(QPath("burst.mp3"));
    EXPECT_EQ(CMusicWaveform::RunningDecodes(), 0);
    EXPECT_TRUE(waveform.IsReady());
    EXPECT_EQ(ready.count(), 1);

    waveform.SetFile(QString());
    EXPECT_EQ(CMusicWaveform::RunningDecodes(), 0);
    EXPECT_TRUE(waveform.File().isEmpty());
    EXPECT_FALSE(waveform.IsReady());
    EXPECT_EQ(waveform.Duration(), 0.0);
    EXPECT_TRUE(waveform.ColumnsForZoom(10.0f).empty());
}

TEST_F(MusicWaveform, ASecondFileEndsWithItsOwnWaveformWhateverTheFirstDid) {
    {
        // The second file given while the first still decodes.
        CMusicWaveform waveform;
        QSignalSpy ready(&waveform, &CMusicWaveform::Ready);
        waveform.SetFile(QPath("long.mp3"));
        waveform.SetFile(QPath("burst.mp3"));
        ASSERT_TRUE(WaitForDecodes());
        EXPECT_EQ(ready.count(), 1);
        EXPECT_EQ(waveform.File(), QPath("burst.mp3"));
        EXPECT_NEAR(waveform.Duration(), 3.0, 0.03);
    }
    {
        // The first file's result already on its way when the second comes.
        CMusicWaveform waveform;
        QSignalSpy ready(&waveform, &CMusicWaveform::Ready);
        waveform.SetFile(QPath("burst.mp3"));
        ASSERT_TRUE(WaitForDecodes(false));
        waveform.SetFile(QPath("long.mp3"));
        QCoreApplication::sendPostedEvents();
        EXPECT_FALSE(waveform.IsReady());
        EXPECT_EQ(ready.count(), 0);
        ASSERT_TRUE(WaitForDecodes());
        EXPECT_EQ(ready.count(), 1);
        // A hundred copies of the burst (each with its own encoder padding).
        EXPECT_GT(waveform.Duration(), 300.0);
        EXPECT_LT(waveform.Duration(), 310.0);
    }
}

TEST_F(MusicWaveform, AWaveformMayGoWhileItsMusicDecodesOrItsResultIsOnItsWay) {
    auto decoding = std::make_unique<CMusicWaveform>();
    decoding->SetFile(QPath("long.mp3"));
    decoding.reset();
    ASSERT_TRUE(WaitForDecodes());

    auto decoded = std::make_unique<CMusicWaveform>();
    decoded->SetFile(QPath("burst.mp3"));
    ASSERT_TRUE(WaitForDecodes(false));
    decoded.reset();
    QCoreApplication::sendPostedEvents();
}

}  // namespace
