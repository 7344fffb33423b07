// The Actions menu: Live, Record, Play, Pause and Stop, and the playback
// tick they start. Commands run on the user-interface thread.
#pragma once

#include "viewer/shell.h"
#include "viewer/viewer_state.h"

#include <chrono>

// How long Live waits for a suit that has sent nothing since it was opened
// before it says so and stays off, and the step in which the window paints.
constexpr int FirstDatagramWaitMilliseconds = 3000;
constexpr int FirstDatagramWaitStep = 50;

void LiveCommand(ViewerState& state, Shell& shell);
void RecordCommand(ViewerState& state, Shell& shell);
void PlayCommand(ViewerState& state, Shell& shell);
void PauseCommand(ViewerState& state, Shell& shell);
void StopCommand(ViewerState& state, Shell& shell);

// The end of a take: the average-rate report and the closing beep.
void EndRecording(ViewerState& state, Shell& shell);

// Stops the playback timer (waiting for a tick in progress); nothing plays
// or is paused afterwards.
void EndPlayback(ViewerState& state);

// The timer's period for a take: its frame time in whole milliseconds
// (33 ms at 30 frames per second); zero when that is under a millisecond
// or not a number, which no timer accepts.
std::chrono::milliseconds PlaybackPeriod(float frameTime);

// One step of playback on the timer's thread: the next frame, wrapping or
// ending on the last one, and a repaint unless one is outstanding. False
// when playback has ended and the timer should stop.
bool PlaybackTick(ViewerState& state, Shell& shell);
