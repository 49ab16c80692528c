// lvx_demo_builder OUTPUT_FOLDER LOG_FOLDER
//
// Writes the demo scene "demo.bgs" and its pictures into OUTPUT_FOLDER. The
// bitmap font "arial.bnf" (with "arial.png") must already lie there. The
// engine's log goes to LOG_FOLDER, out of the way of the shipped files.

#include <cstdio>
#include <filesystem>
#include <string>

#include "CDemoSceneBuilder.h"
#include "core/CScreen.h"
#include "scene/CScene.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER LOG_FOLDER\n", argc > 0 ? argv[0] : "lvx_demo_builder");
        return 2;
    }
    const std::filesystem::path output = std::filesystem::absolute(argv[1]);
    std::error_code error;
    std::filesystem::create_directories(output, error);
    std::filesystem::create_directories(argv[2], error);
    // The log opens where the screen is created.
    std::filesystem::current_path(argv[2], error);
    CScreen::Instance();
    std::filesystem::current_path(output, error);
    if (error) {
        std::fprintf(stderr, "lvx_demo_builder: cannot enter %s: %s\n", output.c_str(), error.message().c_str());
        return 1;
    }

    CDemoSceneBuilder builder(output.string());
    std::string reason;
    if (!builder.WriteAssets(reason)) {
        std::fprintf(stderr, "lvx_demo_builder: cannot write the demo's pictures: %s\n", reason.c_str());
        return 1;
    }
    CScene scene;
    builder.Build(scene);
    if (!scene.Save((output / "demo.bgs").string(), false))
        return 1;
    std::printf("lvx_demo_builder: wrote %s\n", (output / "demo.bgs").c_str());
    return 0;
}
