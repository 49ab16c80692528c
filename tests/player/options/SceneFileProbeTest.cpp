#include <gtest/gtest.h>

#include <unistd.h>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "CSceneFileProbe.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

void PutString(Bytes& bytes, const std::string& text) {
    const auto length = static_cast<std::uint32_t>(text.size());
    for (int i = 0; i < 4; ++i)
        bytes.push_back(static_cast<std::uint8_t>(length >> (8 * i)));
    bytes.insert(bytes.end(), text.begin(), text.end());
}

Bytes SceneData() {
    Bytes data;
    PutString(data, "BrennoxGraphicalScene");
    PutString(data, "001.000.000");
    data.resize(data.size() + 50, 0);  // settings and objects, not looked at
    return data;
}

Bytes Trailer(int a, int b, std::uint32_t length, const std::string& name) {
    Bytes trailer(122, 0);
    trailer[0] = 0x0D;
    trailer[1] = 0x0E;
    std::memcpy(&trailer[2], &a, 4);
    std::memcpy(&trailer[6], &b, 4);
    std::memcpy(&trailer[10], &length, 4);
    std::memcpy(&trailer[14], name.data(), std::min<size_t>(name.size(), 100));
    return trailer;
}

std::string Write(const std::string& name, const Bytes& bytes) {
    const std::string path = name + "." + std::to_string(getpid());
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path;
}

TProbeResult Probe(const Bytes& bytes, SSceneFileInfo& info) {
    const std::string path = Write("probe", bytes);
    std::string error;
    const TProbeResult result = CSceneFileProbe::Probe(path, info, error);
    std::remove(path.c_str());
    return result;
}

}  // namespace

TEST(SceneFileProbe, PlainFilesAndPackagesAreToldApartByTheTrailer) {
    Bytes plain = SceneData();
    const auto length = static_cast<std::uint32_t>(plain.size() + 122);
    const Bytes trailer = Trailer(3, 5, length, "Title");
    plain.insert(plain.end(), trailer.begin(), trailer.end());
    SSceneFileInfo info;
    ASSERT_EQ(Probe(plain, info), TProbeResult::Scene);
    EXPECT_TRUE(info.hasTrailer);
    EXPECT_FALSE(info.packed);
    EXPECT_EQ(info.dataOffset, 0u);
    EXPECT_EQ(info.displayFormat.m_iResolution, 3);
    EXPECT_EQ(info.displayFormat.m_iFlags, 5);
    EXPECT_EQ(info.displayFormat.m_Name, "Title");

    // A program image in front: the trailer's length finds the data.
    Bytes package;
    package.reserve(4096 + plain.size());
    package.assign(4096, 0x7F);
    std::copy(plain.begin(), plain.end(), std::back_inserter(package));
    ASSERT_EQ(Probe(package, info), TProbeResult::Scene);
    EXPECT_TRUE(info.packed);
    EXPECT_EQ(info.dataOffset, 4096u);
    EXPECT_EQ(info.fileSize, package.size());

    // A 100-byte title has no terminator in the trailer.
    Bytes longName = SceneData();
    const Bytes full = Trailer(0, 1, static_cast<std::uint32_t>(longName.size() + 122), std::string(120, 'x'));
    longName.insert(longName.end(), full.begin(), full.end());
    ASSERT_EQ(Probe(longName, info), TProbeResult::Scene);
    EXPECT_EQ(info.displayFormat.m_Name, std::string(100, 'x'));

    // Without a trailer a scene file is read from its start.
    ASSERT_EQ(Probe(SceneData(), info), TProbeResult::Scene);
    EXPECT_FALSE(info.hasTrailer);
}

TEST(SceneFileProbe, ForeignDamagedAndMissingFilesAreRejected) {
    SSceneFileInfo info;
    EXPECT_EQ(Probe(Bytes{'\x7f', 'E', 'L', 'F', 1, 2, 3}, info), TProbeResult::NoTrailer);
    EXPECT_EQ(Probe(Bytes(), info), TProbeResult::NoTrailer);

    // A trailer in front of data that is no scene.
    Bytes foreign(300, 'x');
    const Bytes trailer = Trailer(0, 0, 200, "");
    foreign.insert(foreign.end(), trailer.begin(), trailer.end());
    EXPECT_EQ(Probe(foreign, info), TProbeResult::NotAScene);

    // Data lengths that do not fit the file.
    for (std::uint32_t length : {0u, 121u, 100000u}) {
        Bytes damaged = SceneData();
        const Bytes bad = Trailer(0, 0, length, "");
        damaged.insert(damaged.end(), bad.begin(), bad.end());
        EXPECT_EQ(Probe(damaged, info), TProbeResult::Damaged) << length;
    }

    std::string error;
    EXPECT_EQ(CSceneFileProbe::Probe("/nonexistent/scene.bgs", info, error), TProbeResult::Unreadable);
    EXPECT_FALSE(error.empty());
    EXPECT_NE(CSceneFileProbe::Describe(TProbeResult::NotAScene, "x.bin", "").find("not a Lumivexis scene"),
              std::string::npos);
}
