#pragma once
// The scene time, in seconds, for code that animates without being handed a
// time: the curves' GetValue(). The screen installs its playback clock as the
// source when it is created; without a screen the scene time is 0. Keeping
// the hook down here lets the curves sit below the screen.

using SceneTimeSource = float (*)();

// Any thread; null restores the default (0).
void SetSceneTimeSource(SceneTimeSource source);
float CurrentSceneTime();
