#pragma once

// Unload every loaded window, ignoring errors; when none is left the program
// ends. The two behave alike; each has its callers.
void CloseAllForms();
void UnloadAllForms();
