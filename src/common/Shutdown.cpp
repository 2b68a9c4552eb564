#include "Shutdown.h"

#include "platform/Forms.h"

void CloseAllForms() { FormRegistry::instance().UnloadAll(); }
void UnloadAllForms() { FormRegistry::instance().UnloadAll(); }
