#pragma once
#include <QString>
#include <stdexcept>

// A run-time error as the windows and modules raise and trap it: a number and
// a description. Handlers that "ignore errors" catch it; nothing else does.
class VbError : public std::runtime_error {
public:
    VbError(long number, const QString& description)
        : std::runtime_error(description.toStdString()), m_number(number), m_description(description)
    {
    }
    long Number() const { return m_number; }
    const QString& Description() const { return m_description; }

private:
    long m_number;
    QString m_description;
};

namespace VbErrors {
constexpr long SubscriptOutOfRange = 9;
constexpr long FileNotFound = 53;
constexpr long NoCurrentRecord = 3021;
constexpr long ProviderError = -2147467259; // the generic code a database provider reports
constexpr long DatabaseInUse = 3045;          // another program holds the database file locked
}

// Runs one statement with errors ignored, as a handler that goes on with the
// next statement after a failure does.
template <class F>
void IgnoreErrors(F&& statement)
{
    try {
        statement();
    } catch (const VbError&) {
    }
}
