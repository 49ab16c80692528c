// The Debian package CPack builds from the same installation: its name,
// version, what it holds, and that it depends on the runtime packages of
// the libraries the programs use.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "CShell.h"
#include "support/CTempFolder.h"

namespace {

// The package names of a Depends field, without their versions.
std::set<std::string> PackageNames(const std::string& depends) {
    std::set<std::string> names;
    size_t start = 0;
    while (start < depends.size()) {
        size_t end = depends.find(',', start);
        end = (end == std::string::npos) ? depends.size() : end;
        const std::string item = depends.substr(start, end - start);
        const size_t first = item.find_first_not_of(' ');
        if (first != std::string::npos) {
            names.insert(item.substr(first, item.find_first_of(" (\n", first) - first));
        }
        start = end + 1;
    }
    return names;
}

}  // namespace

TEST(DebianPackage, HoldsTheInstallationAndDependsOnTheRuntimePackages) {
    CTempFolder::EnterPrivateWorkingFolder();
    const CTempFolder scratch(LVX_STAGE_PARENT);
    const CShell::SResult built =
        CShell::Run(CShell::Quote(LVX_CPACK) + " --config " + CShell::Quote(LVX_BUILD_DIR "/CPackConfig.cmake") +
                    " -G DEB -B " + CShell::Quote(scratch.Root()));
    ASSERT_EQ(built.m_Status, 0) << built.m_Output;
    std::string deb;
    for (const auto& entry : std::filesystem::directory_iterator(scratch.Root())) {
        if (entry.path().extension() == ".deb") {
            deb = entry.path().string();
        }
    }
    ASSERT_NE(deb.find("/lumivexis_0.3.5_"), std::string::npos) << built.m_Output;

    auto field = [&](const std::string& name) {
        std::string value = CShell::Run("dpkg-deb -f " + CShell::Quote(deb) + " " + name).m_Output;
        return value.substr(0, value.find_last_not_of('\n') + 1);
    };
    EXPECT_EQ(field("Package"), "lumivexis");
    EXPECT_EQ(field("Version"), "0.3.5");
    EXPECT_EQ(field("Section"), "graphics");
    const std::set<std::string> depends = PackageNames(field("Depends"));
    for (const char* runtime : {"libqt6widgets6", "libqt6gui6", "libqt6core6", "libsdl2-2.0-0", "libsdl2-mixer-2.0-0",
                                "libepoxy0", "libegl1", "libgl1", "libegl-mesa0", "libpng16-16", "libfreetype6",
                                "libfontconfig1", "libmpg123-0", "zlib1g", "fonts-liberation2", "makeself"}) {
        EXPECT_EQ(depends.count(runtime), 1u) << runtime << " missing from: " << field("Depends");
    }
    // No development package: the package runs, it does not build.
    for (const std::string& name : depends) {
        EXPECT_EQ(name.find("-dev"), std::string::npos) << name;
    }

    // Unpacked, the stripped tool still runs.
    const std::filesystem::path root = scratch.Root() / "root";
    const CShell::SResult unpacked = CShell::Run("dpkg-deb -x " + CShell::Quote(deb) + " " + CShell::Quote(root));
    ASSERT_EQ(unpacked.m_Status, 0) << unpacked.m_Output;
    for (const char* file : {"usr/bin/lumivexis", "usr/libexec/lumivexis/ScreenSaver.dat",
                             "usr/share/mime/packages/lumivexis.xml", "usr/share/lumivexis/media/demo/demo.bgs"}) {
        EXPECT_TRUE(std::filesystem::is_regular_file(root / file)) << file;
    }
    if (LVX_HAS_EDITOR) {
        EXPECT_TRUE(std::filesystem::is_regular_file(root / "usr/share/applications/org.lumivexis.Pelavor.desktop"));
    }
    EXPECT_EQ(CShell::Run(CShell::Quote(root / "usr/bin/lumivexis") + " --version").m_Status, 0);
}
