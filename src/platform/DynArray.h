#pragma once
#include "VbError.h"

#include <QString>
#include <QStringList>
#include <QVector>

// A dynamic array as the program's modules use it: either without bounds
// (never dimensioned, or erased: asking for its bounds fails) or with bounds
// from 0 to an upper bound, which may be -1 (bounds but no element).
template <class T>
class DynArray {
public:
    DynArray() = default;

    bool HasBounds() const { return m_dimmed; }

    // ReDim a(0 To upper): fresh elements, each the type's default (0, "").
    void ReDim(int upper)
    {
        m_items = QVector<T>(qMax(0, upper + 1));
        m_dimmed = true;
    }
    // ReDim Preserve a(0 To upper): keeps the elements that still fit.
    void ReDimPreserve(int upper)
    {
        m_items.resize(qMax(0, upper + 1));
        m_dimmed = true;
    }
    // Erase a: back to no bounds.
    void Erase()
    {
        m_items.clear();
        m_dimmed = false;
    }
    // Grows the array by one element holding value: ReDim Preserve to UBound + 1.
    void Append(const T& value)
    {
        ReDimPreserve(m_dimmed ? UBound() + 1 : 0);
        m_items.last() = value;
    }

    int LBound() const
    {
        requireBounds();
        return 0;
    }
    int UBound() const
    {
        requireBounds();
        return static_cast<int>(m_items.size()) - 1;
    }
    T& operator()(int i) { return m_items[checked(i)]; }
    const T& operator()(int i) const { return m_items[checked(i)]; }

    // The elements, empty when there are none or no bounds.
    const QVector<T>& Items() const { return m_items; }

    static DynArray From(const QVector<T>& items)
    {
        DynArray a;
        a.m_items = items;
        a.m_dimmed = true;
        return a;
    }

private:
    void requireBounds() const
    {
        if (!m_dimmed)
            throw VbError(VbErrors::SubscriptOutOfRange, "Subscript out of range");
    }
    int checked(int i) const
    {
        requireBounds();
        if (i < 0 || i >= m_items.size())
            throw VbError(VbErrors::SubscriptOutOfRange, "Subscript out of range");
        return i;
    }

    QVector<T> m_items;
    bool m_dimmed = false;
};

using IntArray = DynArray<qint32>;
using StringArray = DynArray<QString>;

// Split(text, delimiter): an empty text gives bounds 0 to -1.
inline StringArray Split(const QString& text, const QString& delimiter)
{
    if (text.isEmpty())
        return StringArray::From({});
    return StringArray::From(text.split(delimiter).toVector());
}
