#pragma once

// Handles the window events that are waiting, so the user can act during a
// long step; returns the number of loaded windows.
int DoEvents();

// Waits for the given time through the desktop (tests do not wait).
void Sleep(int milliseconds);
