#include "ModCallback.h"

#include "platform/Events.h"

qint16 RotateAbort = 0;

qint16 RotateCallback(double /*progress*/, qint32 /*done*/, qint32 /*total*/)
{
    DoEvents();
    return RotateAbort;
}
