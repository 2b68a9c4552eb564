#pragma once
// Lets one test executable hold several Qt Test classes: each file registers
// its class with ARC_TEST(Class) and the shared main() runs them all.
#include <QObject>
#include <functional>
#include <memory>

namespace TestRegistry {
using Factory = std::function<std::unique_ptr<QObject>()>;
bool add(const char* name, Factory factory);
}

#define ARC_TEST(Class)                                                                            \
    static const bool Class##_registered =                                                         \
        TestRegistry::add(#Class, [] { return std::unique_ptr<QObject>(new Class); });
