#include "Events.h"

#include "Desktop.h"
#include "Forms.h"

#include <QCoreApplication>

int DoEvents()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    return Forms::Count();
}

void Sleep(int milliseconds) { desktop().Sleep(milliseconds); }
