#pragma once
// The fixture of the examples' tests: runs an example program as a user
// would, without a display, for a number of frames, and reads back the
// picture it writes. The pictures stay in the test's "screenshots" folder
// for a person to look at.
//
//   class ParticlesExample : public CExampleTest {
//   protected:
//       ParticlesExample() : CExampleTest(LVX_EXAMPLE_PARTICLES, "particles") {}
//   };
//   const lvxtest::SImage image = Shoot(75);

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>

#include "common/ChildProcess.h"
#include "common/PngImage.h"
#include "support/CTempFolder.h"

class CExampleTest : public testing::Test {
public:
    static constexpr int kWidth = 800;  // the examples' window and off-screen size
    static constexpr int kHeight = 600;

protected:
    CExampleTest(std::string program, std::string name) : m_program(std::move(program)), m_name(std::move(name)) {}

    void SetUp() override {
        std::filesystem::create_directories(m_screenshots);
        m_scratch.Enter();  // the example's log goes there
    }

    // Runs the example for `frames` frames without a display and reads its
    // last frame.
    lvxtest::SImage Shoot(int frames) {
        const std::string picture = (m_screenshots / (m_name + "_" + std::to_string(frames) + ".png")).string();
        const lvxtest::SChildResult run = lvxtest::RunChild(
            {m_program, "--frames", std::to_string(frames), "--screenshot", picture},
            {{"DISPLAY", std::nullopt}, {"WAYLAND_DISPLAY", std::nullopt}, {"SDL_AUDIODRIVER", "dummy"}},
            std::chrono::seconds(120));
        EXPECT_EQ(run.exitCode, 0) << run.err;
        lvxtest::SImage image;
        EXPECT_TRUE(lvxtest::ReadPng(picture, image)) << picture;
        EXPECT_EQ(image.width, kWidth);
        EXPECT_EQ(image.height, kHeight);
        return image;
    }

private:
    std::string m_program;
    std::string m_name;
    std::filesystem::path m_screenshots = std::filesystem::current_path() / "screenshots";
    CTempFolder m_scratch{std::filesystem::current_path()};
};
