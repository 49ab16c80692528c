#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <future>
#include <iterator>
#include <string>
#include <vector>

#include "CSceneFileProbe.h"
#include "ElfTestImage.h"

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

// A program image with the scene data and its trailer appended, as an
// export writes it.
Bytes Package(const Bytes& program) {
    Bytes package = program;
    const Bytes data = SceneData();
    package.insert(package.end(), data.begin(), data.end());
    const Bytes trailer = Trailer(0, 1, static_cast<std::uint32_t>(data.size() + 122), "Saver");
    package.insert(package.end(), trailer.begin(), trailer.end());
    return package;
}

void SetLength(Bytes& package, std::uint32_t length) {
    std::memcpy(&package[package.size() - 122 + 10], &length, 4);
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

TEST(SceneFileProbe, BytesAfterAProgramThatAreNoIntactPackageAreADamagedPackage) {
    const Bytes program = elftest::Image64(3000, elftest::kTableLast);
    const Bytes intact = Package(program);
    SSceneFileInfo info;
    ASSERT_EQ(Probe(intact, info), TProbeResult::Scene);
    EXPECT_EQ(info.dataOffset, program.size());
    // The bare program: nothing was packed into it.
    EXPECT_EQ(Probe(program, info), TProbeResult::NoTrailer);

    Bytes cut = intact;
    cut.pop_back();
    Bytes lengthened = intact;
    lengthened.insert(lengthened.end(), 10, 0);
    Bytes magic = intact;
    magic[magic.size() - 122] = 'X';
    Bytes header = intact;
    header[program.size() + 4] = 'X';  // "BrennoxGraphicalScene"
    const auto length = static_cast<std::uint32_t>(intact.size() - program.size());
    Bytes shorter = intact;
    SetLength(shorter, length - 1);
    Bytes longer = intact;
    SetLength(longer, length + 1);
    Bytes beyond = intact;
    SetLength(beyond, static_cast<std::uint32_t>(intact.size() + 1));
    const std::pair<const char*, const Bytes*> damaged[] = {{"one byte cut", &cut},
                                                            {"ten bytes appended", &lengthened},
                                                            {"trailer magic changed", &magic},
                                                            {"scene header changed", &header},
                                                            {"length one short", &shorter},
                                                            {"length one long", &longer},
                                                            {"length beyond the file", &beyond}};
    for (const auto& [what, bytes] : damaged) {
        const std::string path = Write("damaged", *bytes);
        std::string error;
        EXPECT_EQ(CSceneFileProbe::Probe(path, info, error), TProbeResult::DamagedPackage) << what;
        EXPECT_FALSE(error.empty()) << what;
        std::remove(path.c_str());
    }
    EXPECT_EQ(CSceneFileProbe::Describe(TProbeResult::DamagedPackage, "/home/me/saver.scr", "why"),
              "\"/home/me/saver.scr\": its packed scene is damaged (why)");
}

TEST(SceneFileProbe, OnlyRegularFilesAreRead) {
    SSceneFileInfo info;
    std::string error;
    const std::string folder = "probe-folder." + std::to_string(getpid());
    std::filesystem::create_directory(folder);
    EXPECT_EQ(CSceneFileProbe::Probe(folder, info, error), TProbeResult::NotAFile);
    EXPECT_NE(CSceneFileProbe::Describe(TProbeResult::NotAFile, folder, error).find("is a directory"),
              std::string::npos);
    std::filesystem::remove(folder);

    // Nobody writes into the FIFO: opening it for reading must not wait.
    const std::string fifo = "probe-fifo." + std::to_string(getpid());
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    auto probe = std::async(std::launch::async, [&fifo] {
        SSceneFileInfo fifoInfo;
        std::string fifoError;
        const TProbeResult result = CSceneFileProbe::Probe(fifo, fifoInfo, fifoError);
        return CSceneFileProbe::Describe(result, fifo, fifoError);
    });
    if (probe.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
        // A writer releases the blocked open, so that the test can end.
        const int writer = open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
        ADD_FAILURE() << "the probe waits for a writer";
        probe.wait();
        close(writer);
    } else {
        EXPECT_NE(probe.get().find("is not a regular file"), std::string::npos);
    }
    std::remove(fifo.c_str());

    EXPECT_EQ(CSceneFileProbe::Probe("/dev/null", info, error), TProbeResult::NotAFile);
}
