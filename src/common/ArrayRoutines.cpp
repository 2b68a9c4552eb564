#include "ArrayRoutines.h"

namespace {
template <class T>
bool hasBounds(const DynArray<T>& arr)
{
    try {
        arr.UBound();
        return true;
    } catch (const VbError&) {
        return false;
    }
}

template <class T>
bool contains(const T& value, const DynArray<T>& arr)
{
    if (!hasBounds(arr))
        return false;
    const int lower = arr.LBound();
    const int upper = arr.UBound();
    for (int i = lower; i <= upper; ++i)
        if (arr(i) == value)
            return true;
    return false;
}
} // namespace

bool IsArrayDimmed(const IntArray& arr) { return hasBounds(arr); }
bool IsInArray(qint32 value, const IntArray& arr) { return contains(value, arr); }
bool IsArrayInitialized(const StringArray& arr) { return hasBounds(arr); }
// Equal character for character: case counts and nothing is trimmed.
bool IsInStringArray(const QString& value, const StringArray& arr) { return contains(value, arr); }
