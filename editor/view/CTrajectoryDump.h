#pragma once
// The middle click of the 3D view: a text listing of every object of the
// scene with the position of each of its key frames, for checking paths by
// eye or in another program. The file is "brennox_trajectories.txt" in the
// user's home folder:
//
//   Dump of the trajectories
//   -------------------------------------------
//   Name: Main Camera
//   -------------------------------------------
//   Keyframe 0: time: 0.000000  position X: 0.000000 position Y: 1.000000 position Z: -10.000000
//
// Objects with key frames (the objects drawn with materials, and camera
// paths) list them; every other object gets only its name block. Numbers are
// written with a point whatever the locale says.

#include <string>

class CScene;

class CTrajectoryDump {
public:
    static constexpr const char* kFileName = "brennox_trajectories.txt";

    // The listing of the scene, read under the scene's lock.
    static std::string Text(CScene& scene);
    // Writes the listing to path, completely or not at all. False, with the
    // reason in error, when the file cannot be written.
    static bool Write(CScene& scene, const std::string& path, std::string* error = nullptr);
    // kFileName in the user's home folder ($HOME, else the password
    // database's entry).
    static std::string DefaultPath();
};
