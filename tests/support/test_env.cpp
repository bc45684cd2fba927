#include "test_env.h"

#include "app/main_window.h"
#include "app/startup.h"
#include "editor/script_editor_window.h"
#include "editor/script_memo.h"

#include <QApplication>
#include <QDir>
#include <QTest>

namespace TestEnv {

void startProgram()
{
    createApplicationWindows();
    Orl->show();
    QApplication::processEvents();
}

void endProgram()
{
    if (Orl) {
        for (TForm2 *editor : Orl->editorWindows())
            editor->markSaved();
    }
    destroyApplicationWindows();
    flushDeletes();
}

TForm2 *newEditor()
{
    Orl->N2Click();
    QApplication::processEvents();
    return Form2;
}

void focusText(TForm2 *editor)
{
    Orl->activateWindow();
    if (!QTest::qWaitForWindowActive(Orl))
        qWarning("the main window is not active");
    editor->Memo1->setFocus();
    QApplication::processEvents();
}

void type(QWidget *widget, const QString &text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const Qt::Key key = c.isLetterOrNumber() && c.unicode() < 128 ? Qt::Key(c.toUpper().unicode())
                                                                       : Qt::Key_unknown;
        // A character outside the Basic Multilingual Plane comes as one key with both halves.
        const bool pair = c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate();
        const QString typed = text.mid(i, pair ? 2 : 1);
        i += pair ? 1 : 0;
        QTest::sendKeyEvent(QTest::Press, widget, key, typed, Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, widget, key, typed, Qt::NoModifier);
    }
}

void flushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::processEvents();
}

QString corpusDir()
{
    const QDir dir(QStringLiteral(ORL_CORPUS_DIR));
    return dir.exists() ? dir.absolutePath() : QString();
}

} // namespace TestEnv
