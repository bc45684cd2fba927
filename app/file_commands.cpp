// The "Файл" menu: new, open, save, save as and close of script editor windows.
#include "app/main_window.h"
#include "common/dialog_seam.h"
#include "common/handler_guard.h"
#include "common/long_task.h"
#include "editor/script_editor_window.h"
#include "editor/script_file.h"
#include "editor/script_memo.h"

#include <QMdiArea>

namespace {

const QString kOpenFilter = QStringLiteral(
    "Проект mIRC (.mrc)|*.mrc|Проект INI (.INI)|*.ini|Текстовый файл (.txt)|*.txt|Все файлы|*.*");
const QString kSaveFilter = QStringLiteral(
    "Проект mIRC (.mrc)|*.mrc|Проект INI (.INI)|*.INI|Текстовый файл (.txt)|*.txt|Все файлы|*.*");

} // namespace

TForm2 *TOrl::createEditor()
{
    auto *window = new TForm2([this](TForm2 *editor) { return saveEditor(editor); });
    Form2 = window;
    m_mdiArea->addSubWindow(window);
    return window;
}

void TOrl::N2Click()
{
    TForm2 *window = createEditor();
    window->setWindowTitle(QStringLiteral("script%1.mrc").arg(MDIChildCount()));
    window->showMaximized();
    window->Memo1->setFocus();
}

void TOrl::N4Click()
{
    const Dialogs::FileAnswer answer =
        Dialogs::chooseFile({Dialogs::FileRequest::Kind::Open, this, QString(), kOpenFilter, m_openFilterIndex});
    if (!answer.accepted)
        return;
    m_openFilterIndex = answer.filterIndex;
    TForm2 *window = createEditor();
    window->setWindowTitle(answer.fileName);
    window->showMaximized();
    window->Memo1->setFocus();

    QByteArray bytes;
    switch (ScriptFile::read(answer.fileName, &bytes)) {
    case ScriptFile::ReadError::None:
        break;
    case ScriptFile::ReadError::CannotOpen:
        throw OrlError(QStringLiteral("Cannot open file %1").arg(answer.fileName));
    case ScriptFile::ReadError::TooLarge:
        throw OrlError(QStringLiteral("Cannot open file %1: файл больше %2 МБ, такой файл редактор не открывает")
                           .arg(answer.fileName)
                           .arg(ScriptFile::kMaxFileSize >> 20));
    }
    LongTask task(this, QStringLiteral("Открытие файла %1").arg(answer.fileName));
    window->Memo1->loadFile(bytes, [&](qint64 done, qint64 total) { task.step(done, total); });
    window->markSaved();
}

void TOrl::writeEditor(TForm2 *window, const QString &fileName)
{
    LongTask task(this, QStringLiteral("Сохранение файла %1").arg(fileName));
    const QByteArray bytes =
        window->Memo1->fileBytes([&](qint64 done, qint64 total) { task.step(done, total); });
    if (!ScriptFile::write(fileName, bytes))
        throw OrlError(QStringLiteral("Cannot create file %1").arg(fileName));
    window->markSaved();
}

bool TOrl::saveEditor(TForm2 *window)
{
    // The direct write goes only to the file this very window was last saved to; any other
    // window asks for a name, so one window's text never lands on another window's file.
    if (!m_lastSavedFileName.isEmpty() && m_lastSavedWindow == window) {
        writeEditor(window, m_lastSavedFileName);
        return true;
    }
    const Dialogs::FileAnswer answer =
        Dialogs::chooseFile({Dialogs::FileRequest::Kind::Save, this, QString(), kSaveFilter, m_saveFilterIndex});
    if (!answer.accepted)
        return false;
    m_saveFilterIndex = answer.filterIndex;
    m_lastSavedFileName = answer.fileName;
    m_lastSavedWindow = window;
    writeEditor(window, answer.fileName);
    return true;
}

void TOrl::N6Click()
{
    if (!applyActiveEditorRule())
        return;
    saveEditor(Form2);
}

void TOrl::N7Click()
{
    if (!applyActiveEditorRule())
        return;
    TForm2 *window = Form2;
    const Dialogs::FileAnswer answer = Dialogs::chooseFile(
        {Dialogs::FileRequest::Kind::Save, this, m_lastSavedFileName, kSaveFilter, m_saveFilterIndex});
    if (!answer.accepted)
        return;
    m_saveFilterIndex = answer.filterIndex;
    m_lastSavedFileName = answer.fileName;
    m_lastSavedWindow = window;
    writeEditor(window, answer.fileName);
    window->Memo1->setModified(false);
}

void TOrl::N3Click()
{
    if (!applyActiveEditorRule())
        return;
    Form2->close();
}
