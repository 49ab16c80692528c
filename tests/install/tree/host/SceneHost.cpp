// A program that hosts the installed engine, built by the test against the
// installed headers and library: loads the scene file it is given and
// prints how many objects it holds.
#include <cstdio>

#include "scene/CScene.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: SceneHost SCENE\n");
        return 2;
    }
    CScene scene;
    if (!scene.Load(argv[1], false)) {
        std::fprintf(stderr, "cannot load %s\n", argv[1]);
        return 1;
    }
    std::printf("%d objects\n", scene.GetObjectNumber());
    return scene.GetObjectNumber() > 0 ? 0 : 1;
}
