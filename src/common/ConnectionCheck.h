#pragma once
#include <QString>

// 1 when the last CheckConnection found a network connection, else 0 (0
// before the first check). Readers treat exactly 1 as online.
extern qint32 InternetConnected;
// The name of the connection the last check found.
extern QString ConnectionName;

void CheckConnection();
