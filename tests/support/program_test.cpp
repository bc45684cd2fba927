#include "support/program_test.h"

#include "support/test_env.h"

#include "app/main_window.h"
#include "catalogue/data_folder.h"
#include "common/handler_guard.h"
#include "editor/script_editor_window.h"

#include <QApplication>
#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

ProgramTest::ProgramTest(ErrorBoxes errorBoxes, Start start) : m_errorBoxes(errorBoxes), m_start(start) { }

ProgramTest::~ProgramTest() = default;

void ProgramTest::init()
{
    m_startDir = QDir::currentPath();
    m_folder = std::make_unique<QTemporaryDir>();
    // The user's own settings are never read or written, nor a data folder installed on the machine.
    m_settingsDir = std::make_unique<QTemporaryDir>();
    for (QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
        QSettings::setPath(format, QSettings::UserScope, m_settingsDir->path());
    DataFolder::overrideSearchOrder({QString()});
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
    m_folder.reset();
    DataFolder::overrideSearchOrder({});
    m_settingsDir.reset();
    delete dialogs;
    dialogs = nullptr;
    if (m_errorBoxes == ErrorBoxes::Forbidden)
        QVERIFY2(errors.isEmpty(), qPrintable(errors.join(u'\n')));
}

TForm2 *ProgramTest::openFile(const QString &file)
{
    dialogs->chooseFile(file);
    runGuarded([] { Orl->N4Click(); });
    QApplication::processEvents();
    return Form2;
}
