#pragma once

#include <QString>

class QWidget;
class TForm2;

// Starting and ending the program's windows inside a test, as main() does.
namespace TestEnv {

// Creates the windows in start-up order and shows the main window.
void startProgram();
// Frees every window; pending deletions are carried out.
void endProgram();

// Runs "Создать..." and returns the new current editor.
TForm2 *newEditor();

// Makes the main window active and puts the keyboard in the editor's text, as the user has it.
void focusText(TForm2 *editor);

// Types text into a widget key by key, any characters (QTest::keyClicks takes only ASCII); a
// surrogate pair is one key.
void type(QWidget *widget, const QString &text);

// Carries out deleteLater() calls, as the event loop would between two events.
void flushDeletes();

// The path of a corpus file, or an empty string when the corpus folder is absent.
QString corpusDir();

} // namespace TestEnv
