#pragma once
// Which way a trajectory turns the object it carries, or which way a camera
// trajectory looks. Stored as a 32-bit unsigned value in scene files.

enum TOrientation : int {
    OR_FIXED = 0,             // trajectory: no direction; camera: the direction curve as yaw, pitch, roll
    OR_LOOK_AT_POSITION = 1,  // towards a position
    OR_LOOK_AT_OBJECT = 2,    // towards an object
    OR_FRONT = 3,             // along the path
    OR_REAR = 4,              // against the path
};
