#pragma once
#include "platform/DynArray.h"

// Whether a dynamic array has bounds, and linear searches of one.
bool IsArrayDimmed(const IntArray& arr);
bool IsInArray(qint32 value, const IntArray& arr);
bool IsArrayInitialized(const StringArray& arr);
bool IsInStringArray(const QString& value, const StringArray& arr);
