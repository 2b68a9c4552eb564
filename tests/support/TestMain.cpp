#include "TestMain.h"
#include "TestSupport.h"
#include "platform/WebChannels.h"

#include <QApplication>
#include <QList>
#include <QTest>
#include <cstring>

namespace {
struct Entry {
    const char* name;
    TestRegistry::Factory factory;
};
QList<Entry>& entries()
{
    static QList<Entry> list;
    return list;
}
} // namespace

bool TestRegistry::add(const char* name, Factory factory)
{
    entries().append({name, std::move(factory)});
    return true;
}

// Usage: test_<area> [ClassName] [Qt Test options]
int main(int argc, char** argv)
{
    TestSupport::isolateUserFolders();
    WebChannels::CloseInEngine(argc, argv);
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts); // for the web views
    QApplication app(argc, argv);
    TestSupport::installScriptedDesktop();

    const char* only = nullptr;
    if (argc > 1 && argv[1][0] != '-') {
        only = argv[1];
        for (int i = 1; i + 1 < argc; ++i)
            argv[i] = argv[i + 1];
        --argc;
    }
    int failures = 0;
    for (const Entry& e : entries()) {
        if (only && std::strcmp(only, e.name) != 0)
            continue;
        std::unique_ptr<QObject> test = e.factory();
        failures += QTest::qExec(test.get(), argc, argv);
    }
    return failures == 0 ? 0 : 1;
}
