#pragma once

// The program's start: refuses a second copy, otherwise shows the tutor window.
void StartUp(bool anotherCopyRunning);
