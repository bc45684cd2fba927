#include "support/program_test.h"

#include "support/test_env.h"

#include <QDir>
#include <QTest>

void ProgramTest::init()
{
    m_startDir = QDir::currentPath();
    dialogs = new ScriptedDialogs;
    if (m_start == Start::BeforeEachTest) {
        TestEnv::startProgram();
        if (m_errorBoxes == ErrorBoxes::Allowed)
            dialogs->clear();
    }
    setUpTest();
}

void ProgramTest::cleanup()
{
    const QStringList errors = dialogs->errors();
    TestEnv::endProgram();
    tearDownTest();
    QDir::setCurrent(m_startDir);
    delete dialogs;
    dialogs = nullptr;
    if (m_errorBoxes == ErrorBoxes::Forbidden)
        QVERIFY2(errors.isEmpty(), qPrintable(errors.join(u'\n')));
}
