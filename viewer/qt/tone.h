// A beep of a given pitch and length that never holds up the window.
#pragma once

class QObject;

// On the user-interface thread: plays a sine tone on the default sound
// output and returns at once; the player belongs to owner and goes when the
// tone ends. Without a sound output (a server, a test under the offscreen
// platform) it rings the desktop's bell instead.
void PlayTone(QObject* owner, int frequencyHz, int milliseconds);
