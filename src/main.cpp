#include "app/AppIcon.h"
#include "app/StartUp.h"
#include "platform/App.h"
#include "platform/Forms.h"
#include "platform/SingleInstance.h"
#include "platform/WebChannels.h"

#include <QApplication>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace {
bool displayAvailable()
{
    const auto set = [](const char* name) { return std::getenv(name) && *std::getenv(name); };
    return set("DISPLAY") || set("WAYLAND_DISPLAY") || set("QT_QPA_PLATFORM");
}
} // namespace

int main(int argc, char** argv)
{
    if (!displayAvailable()) {
        std::fprintf(stderr, "arcavell: no display found. Arcavell is a desktop program: start it in a "
                             "graphical session (DISPLAY or WAYLAND_DISPLAY must be set).\n");
        return 1;
    }
    // Under a file-size limit a write past it fails with EFBIG like any
    // other failed write, instead of ending the program with unsaved work.
    std::signal(SIGXFSZ, SIG_IGN);
    // Chromium's sandbox refuses to start as root: the dictionary's web views
    // would end the program. As root they run without it.
    if (::geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    WebChannels::CloseInEngine(argc, argv);
    // The dictionary's web views share their graphics contexts with the windows.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    // The program runs while any window is loaded, hidden ones included.
    QApplication::setQuitOnLastWindowClosed(false);
    App::InitFromProcess();
    QApplication::setWindowIcon(AppIcon());

    SingleInstance instance(App::EXEName(), App::Path());
    StartUp(!instance.Acquire());
    if (Forms::Count() == 0)
        return 0;
    QObject::connect(&FormRegistry::instance(), &FormRegistry::ProgramEnded, &app, &QApplication::quit);
    return app.exec();
}
