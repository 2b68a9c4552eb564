#include "ConnectionCheck.h"

#include "platform/Desktop.h"

qint32 InternetConnected = 0;
QString ConnectionName;

void CheckConnection()
{
    QString name;
    InternetConnected = desktop().IsOnline(&name) ? 1 : 0;
    ConnectionName = name.left(254);
}
