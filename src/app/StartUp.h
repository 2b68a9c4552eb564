#pragma once

// The program's start: refuses a program folder whose name cannot be used
// and a second copy, otherwise shows the tutor window.
void StartUp(bool anotherCopyRunning);
