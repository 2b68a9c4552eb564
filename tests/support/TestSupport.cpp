#include "TestSupport.h"

#include "ScriptedDesktop.h"
#include "common/Shutdown.h"
#include "platform/App.h"
#include "platform/Forms.h"
#include "platform/Rnd.h"
#include "platform/Settings.h"
#include "reading/ReadingState.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTest>

namespace {
ScriptedDesktop* g_scripted = nullptr;

void copyTree(const QString& from, const QString& to)
{
    QDir().mkpath(to);
    QDirIterator it(from, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        const QFileInfo info = it.fileInfo();
        const QString relative = QDir(from).relativeFilePath(info.filePath());
        if (relative == "arcavell" || relative.endsWith(".lock"))
            continue; // neither the executable nor a running copy's lock is needed
        const QString target = to + "/" + relative;
        if (info.isDir())
            QDir().mkpath(target);
        else
            QFile::copy(info.filePath(), target);
    }
}
} // namespace

void TestSupport::isolateUserFolders()
{
    static QTemporaryDir home;
    const QString root = home.path();
    for (const char* sub : {"config", "data", "cache", "runtime", "tmp"})
        QDir().mkpath(root + "/" + sub);
    QFile::setPermissions(root + "/runtime", QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("HOME", root.toUtf8());
    qputenv("XDG_CONFIG_HOME", (root + "/config").toUtf8());
    qputenv("XDG_DATA_HOME", (root + "/data").toUtf8());
    qputenv("XDG_CACHE_HOME", (root + "/cache").toUtf8());
    qputenv("XDG_RUNTIME_DIR", (root + "/runtime").toUtf8());
    qputenv("TMPDIR", (root + "/tmp").toUtf8());
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Web views: no sandbox (Chromium refuses it as root, and containers
    // often lack what it needs otherwise; the tests show their own pages
    // only), no GPU, and every address but the test's own servers (on the
    // loopback) goes to a proxy that is not there, so no page of a test
    // reaches the internet.
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu --proxy-server=http://127.0.0.1:9");
}

void TestSupport::installScriptedDesktop()
{
    auto scripted = std::make_unique<ScriptedDesktop>();
    g_scripted = scripted.get();
    SetDesktop(std::move(scripted));
}

ScriptedDesktop& Scripted() { return *g_scripted; }

void TestSupport::settle()
{
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
}

QString TestSupport::settingsFile()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, "Arcavell", App::EXEName()).fileName();
}

void TestSupport::resetSession()
{
    UnloadAllForms();
    settle();
    Scripted().Reset();
    QFile::remove(settingsFile());
    ResetSettingsFailureNotice();
    Reading() = ReadingState();
    RndState::SetSeed(RndState::InitialSeed);
    RndState::SetFixedTimer(-1.0f);
    App::SetCommand(QString());
}

ProgramFolder::ProgramFolder() : m_previousPath(App::Path())
{
    copyTree(ARCAVELL_PROGRAM_DIR, m_dir.path());
    App::SetPath(m_dir.path());
}

ProgramFolder::~ProgramFolder() { App::SetPath(m_previousPath); }

void ProgramFolder::remove(const QString& name)
{
    const QString target = file(name);
    if (QFileInfo(target).isDir())
        QDir(target).removeRecursively();
    else
        QFile::remove(target);
}
