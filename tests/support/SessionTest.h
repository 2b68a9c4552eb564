#pragma once
#include "TestSupport.h"

#include <QObject>
#include <memory>

// A test class whose every test function starts in a fresh session (no
// window loaded, scripted desktop and settings cleared) with a fresh copy
// of the program folder, and leaves a clean session behind.
class SessionTest : public QObject {
    Q_OBJECT
protected:
    std::unique_ptr<ProgramFolder> folder;

private slots:
    void init()
    {
        TestSupport::resetSession();
        folder = std::make_unique<ProgramFolder>();
    }
    void cleanup()
    {
        TestSupport::resetSession();
        folder.reset();
    }
};
