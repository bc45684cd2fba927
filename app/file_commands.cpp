// The "Файл" menu: new, open, save, save as and close of script editor windows, the recently used
// files, the encoding a window's file is read and written in, and files handed to the program by
// its command line or dropped on its windows.
#include "app/main_window.h"
#include "app/remembered.h"
#include "common/dialog_seam.h"
#include "common/handler_guard.h"
#include "common/long_task.h"
#include "editor/background_load.h"
#include "editor/script_editor_window.h"
#include "editor/script_file.h"
#include "editor/script_memo.h"

#include <QActionGroup>
#include <QDir>
#include <QFileInfo>
#include <QMdiArea>
#include <QMenu>
#include <QScopeGuard>

#include <functional>

namespace {

const QString kOpenFilter = QStringLiteral(
    "Проект mIRC (.mrc)|*.mrc|Проект INI (.INI)|*.ini|Текстовый файл (.txt)|*.txt|Все файлы|*.*");
const QString kSaveFilter = QStringLiteral(
    "Проект mIRC (.mrc)|*.mrc|Проект INI (.INI)|*.INI|Текстовый файл (.txt)|*.txt|Все файлы|*.*");

// Captions a new editor window and shows it, maximized, with the keyboard in its text.
TForm2 *showEditor(TForm2 *window, const QString &caption)
{
    window->setWindowTitle(caption);
    window->showMaximized();
    window->Memo1->setFocus();
    return window;
}

} // namespace

TForm2 *TOrl::createEditor()
{
    auto *window = new TForm2([this](TForm2 *editor) { return saveEditor(editor); });
    Form2 = window;
    m_mdiArea->addSubWindow(window);
    onSignal(window->Memo1, &ScriptMemo::filesDropped, this, [this](const QStringList &paths) { openFiles(paths); });
    watchKeyboardRoute(window);
    attachToWindowMenu(window);
    return window;
}

void TOrl::N2Click()
{
    TForm2 *window = createEditor();
    showEditor(window, QStringLiteral("script%1.mrc").arg(MDIChildCount()));
}

QString TOrl::dialogFolder() const
{
    // The folder of the active window's file, else the folder last used.
    if (const TForm2 *active = ActiveMDIChild(); active && !active->fileName().isEmpty())
        return QFileInfo(active->fileName()).absolutePath();
    return Remembered::lastFolder();
}

void TOrl::N4Click()
{
    const Dialogs::FileAnswer answer = Dialogs::chooseFile(
        {Dialogs::FileRequest::Kind::Open, this, QString(), kOpenFilter, m_openFilterIndex, dialogFolder()});
    if (!answer.accepted)
        return;
    m_openFilterIndex = answer.filterIndex;
    openScriptFile(answer.fileName);
}

namespace {

// Files from this size on are read on a thread of their own, the windows staying usable meanwhile.
constexpr qint64 kBackgroundLoadSize = qint64(64) << 20;

void throwIfNotRead(const QString &fileName, ScriptFile::ReadError error)
{
    switch (error) {
    case ScriptFile::ReadError::None:
    case ScriptFile::ReadError::Cancelled:
        return;
    case ScriptFile::ReadError::CannotOpen:
        throw OrlError(QStringLiteral("Cannot open file %1").arg(fileName));
    case ScriptFile::ReadError::TooLarge:
        throw OrlError(QStringLiteral("Cannot open file %1: файл больше %2 МБ, такой файл редактор не открывает")
                           .arg(fileName)
                           .arg(ScriptFile::kMaxFileSize >> 20));
    }
}

// UTF-8 asked for bytes that are not UTF-8: nothing is lost, the window keeps its text.
void throwIfNotUtf8(const QString &fileName, const TextBuffer::Prepared &text)
{
    if (text.invalidAt >= 0)
        throw OrlError(QStringLiteral("Файл %1 нельзя открыть как UTF-8: байт на смещении %2 не входит в символ "
                                      "UTF-8. Текст окна остался прежним")
                           .arg(fileName)
                           .arg(text.invalidAt));
}

} // namespace

void TOrl::openScriptFile(const QString &fileName)
{
    readFileInto(fileName, nullptr, std::nullopt);
}

void TOrl::readFileInto(const QString &fileName, TForm2 *reopened, std::optional<ScriptEncoding> encoding)
{
    // The file is read before a new window is made, so that one that cannot be read leaves none.
    const ScriptFile::Check found = ScriptFile::check(fileName);
    throwIfNotRead(fileName, found.error);
    const auto window = [&] { return reopened ? reopened : showEditor(createEditor(), fileName); };
    if (found.size >= kBackgroundLoadSize) {
        loadInBackground(window(), fileName, encoding, reopened != nullptr);
        return;
    }
    QByteArray bytes;
    throwIfNotRead(fileName, ScriptFile::read(fileName, &bytes));
    loadBytes(window(), fileName, std::move(bytes), encoding);
}

void TOrl::loadBytes(TForm2 *window, const QString &fileName, QByteArray bytes, std::optional<ScriptEncoding> encoding)
{
    LongTask task(this, QStringLiteral("Открытие файла %1").arg(fileName));
    const auto progress = [&](qint64 done, qint64 total) { task.step(done, total); };
    TextBuffer::Prepared text =
        encoding ? TextBuffer::prepare(std::move(bytes), *encoding, progress) : TextBuffer::prepare(std::move(bytes), progress);
    throwIfNotUtf8(fileName, text);
    window->Memo1->loadPrepared(std::move(text));
    fileOpened(window, fileName);
}

void TOrl::loadInBackground(TForm2 *window, const QString &fileName, std::optional<ScriptEncoding> encoding,
                            bool reopening)
{
    ScriptMemo *memo = window->Memo1;
    memo->setLoadingProgress(0);
    auto *load = new BackgroundLoad(fileName, encoding, window);
    connect(load, &BackgroundLoad::progressed, memo, &ScriptMemo::setLoadingProgress);
    onSignal(load, &BackgroundLoad::finished, window,
             [this, window, load, fileName, reopening](ScriptFile::ReadError error) {
        load->deleteLater();
        TextBuffer::Prepared text = load->takeText();
        if (error != ScriptFile::ReadError::None || text.invalidAt >= 0) {
            if (reopening) {
                // The window showed how far the reading had come; its text is as it was.
                window->Memo1->setLoadingProgress(-1);
            } else {
                // With nothing read the new window goes again.
                window->Memo1->loadPrepared({});
                window->markSaved();
                if (window->isOpen())
                    window->close();
            }
            throwIfNotRead(fileName, error);
            throwIfNotUtf8(fileName, text);
            return;
        }
        window->Memo1->loadPrepared(std::move(text));
        fileOpened(window, fileName);
    });
}

void TOrl::fileOpened(TForm2 *window, const QString &fileName)
{
    window->markSaved();
    // "Сохранить" writes this window's text back to the file it came from.
    window->setFileName(fileName);
    rememberFile(fileName);
}

void TOrl::openFiles(const QStringList &paths)
{
    // Each file opens as "Открыть..." opens it; one that cannot be read says so and the rest still open.
    for (const QString &path : paths)
        runGuarded([&] { openScriptFile(QFileInfo(path).absoluteFilePath()); });
}

void TOrl::rememberFile(const QString &fileName)
{
    Remembered::setLastFolder(QFileInfo(fileName).absolutePath());
    Remembered::addRecentFile(fileName);
    // The items themselves are made when the menu opens, never while one of them is running.
    m_recentFilesMenu->menuAction()->setEnabled(true);
}

void TOrl::updateRecentFilesMenu()
{
    m_recentFilesMenu->clear();
    const QStringList files = Remembered::recentFiles();
    for (int i = 0; i < files.size(); ++i) {
        const QString file = files.at(i);
        // The number is the item's keyboard accelerator; an & in a path is shown as it is.
        QString caption = file;
        caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction *item = m_recentFilesMenu->addAction(QStringLiteral("&%1 %2").arg((i + 1) % 10).arg(caption));
        item->setData(file);
        onSignal(item, &QAction::triggered, this, [this, file] { openRecentFile(file); });
    }
    m_recentFilesMenu->menuAction()->setEnabled(!files.isEmpty());
}

void TOrl::openRecentFile(const QString &fileName)
{
    // A file that can no longer be read leaves the list once its error has been shown.
    try {
        openScriptFile(fileName);
    } catch (const OrlError &) {
        Remembered::removeRecentFile(fileName);
        m_recentFilesMenu->menuAction()->setEnabled(!Remembered::recentFiles().isEmpty());
        throw;
    }
}

namespace {

// A window whose file is still being read holds nothing yet that could be written: a save now
// would empty the file.
void refuseWhileLoading(const TForm2 *window)
{
    if (window->Memo1->isLoading())
        throw OrlError(QStringLiteral("Файл %1 ещё открывается: сохранить его можно, когда он откроется")
                           .arg(window->windowTitle()));
}

} // namespace

void TOrl::writeEditor(TForm2 *window, const QString &fileName)
{
    LongTask task(this, QStringLiteral("Сохранение файла %1").arg(fileName));
    const QByteArray bytes =
        window->Memo1->fileBytes([&](qint64 done, qint64 total) { task.step(done, total); });
    if (!ScriptFile::write(fileName, bytes))
        throw OrlError(QStringLiteral("Cannot create file %1").arg(fileName));
    window->markSaved();
    window->setFileName(fileName);
    rememberFile(fileName);
}

bool TOrl::saveEditor(TForm2 *window)
{
    refuseWhileLoading(window);
    // A window that came from a file, or was saved once, is written straight back to that file;
    // only a window with no file of its own asks for a name.
    if (!window->fileName().isEmpty()) {
        writeEditor(window, window->fileName());
        return true;
    }
    const Dialogs::FileAnswer answer = Dialogs::chooseFile(
        {Dialogs::FileRequest::Kind::Save, this, QString(), kSaveFilter, m_saveFilterIndex, dialogFolder()});
    if (!answer.accepted)
        return false;
    m_saveFilterIndex = answer.filterIndex;
    m_lastSavedFileName = answer.fileName;
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
    refuseWhileLoading(window);
    // The dialog proposes the window's own file: the one its caption shows and "Сохранить" writes.
    const Dialogs::FileAnswer answer = Dialogs::chooseFile({Dialogs::FileRequest::Kind::Save, this,
                                                            window->fileName(), kSaveFilter, m_saveFilterIndex,
                                                            dialogFolder()});
    if (!answer.accepted)
        return;
    m_saveFilterIndex = answer.filterIndex;
    m_lastSavedFileName = answer.fileName;
    writeEditor(window, answer.fileName);
    window->Memo1->setModified(false);
}

void TOrl::N3Click()
{
    if (!applyActiveEditorRule())
        return;
    Form2->close();
}

// ---- "Кодировка" -----------------------------------------------------------------------------

void TOrl::createEncodingMenu(QMenu *file)
{
    EncodingMenu = file->addMenu(QStringLiteral("Ко&дировка"));
    EncodingMenu->setObjectName(QStringLiteral("EncodingMenu"));
    const auto item = [this](const QString &caption, const std::function<void()> &command) {
        QAction *action = EncodingMenu->addAction(caption);
        onSignal(action, &QAction::triggered, this, [this, command] {
            const auto synced = qScopeGuard([this] { updateEncodingMenu(); });
            command();
        });
        return action;
    };
    const auto reopen = [this](ScriptEncoding encoding) { return [this, encoding] { reopenAs(encoding); }; };
    const auto saveAs = [this](ScriptEncoding encoding) { return [this, encoding] { saveAsEncoding(encoding); }; };
    ReopenAsWindows1251 = item(QStringLiteral("&Открыть заново как Windows-1251"), reopen(ScriptEncoding::Windows1251));
    ReopenAsUtf8 = item(QStringLiteral("Открыть &заново как UTF-8"), reopen(ScriptEncoding::Utf8));
    EncodingMenu->addSeparator();
    SaveAsWindows1251 = item(QStringLiteral("&Сохранять как Windows-1251"), saveAs(ScriptEncoding::Windows1251));
    SaveAsUtf8 = item(QStringLiteral("Сохранять &как UTF-8"), saveAs(ScriptEncoding::Utf8));
    SaveAsUtf8WithBom = item(QStringLiteral("Сохранять как UTF-8 с &BOM"), saveAs(ScriptEncoding::Utf8WithBom));
    auto *group = new QActionGroup(EncodingMenu);
    group->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    for (QAction *action : {SaveAsWindows1251, SaveAsUtf8, SaveAsUtf8WithBom}) {
        action->setCheckable(true);
        group->addAction(action);
    }
    onSignal(EncodingMenu, &QMenu::aboutToShow, this, [this] { updateEncodingMenu(); });
}

void TOrl::updateEncodingMenu()
{
    const TForm2 *active = ActiveMDIChild();
    const std::optional<ScriptEncoding> encoding =
        active ? std::optional(active->Memo1->document()->encoding()) : std::nullopt;
    SaveAsWindows1251->setChecked(encoding == ScriptEncoding::Windows1251);
    SaveAsUtf8->setChecked(encoding == ScriptEncoding::Utf8);
    SaveAsUtf8WithBom->setChecked(encoding == ScriptEncoding::Utf8WithBom);
    // Only a window that came from a file, or was saved to one, has a file to read again.
    const bool hasFile = active && !active->fileName().isEmpty();
    ReopenAsWindows1251->setEnabled(hasFile);
    ReopenAsUtf8->setEnabled(hasFile);
}

void TOrl::reopenAs(ScriptEncoding encoding)
{
    if (!applyActiveEditorRule())
        return;
    TForm2 *window = Form2;
    refuseWhileLoading(window);
    const QString fileName = window->fileName();
    if (fileName.isEmpty())
        throw OrlError(QStringLiteral("Текст окна %1 не из файла: открыть заново нечего").arg(window->windowTitle()));
    if (window->hasUnsavedChanges()
        && Dialogs::ask({window, Dialogs::Icon::Question, QStringLiteral("Подтверждение"),
                         QStringLiteral("Текст в окне %1 был изменен. Открыть файл заново как %2, потеряв изменения?")
                             .arg(window->windowTitle(), ScriptText::encodingName(encoding)),
                         {Dialogs::Button::Yes, Dialogs::Button::No}},
                        Dialogs::Button::No)
               != Dialogs::Button::Yes)
        return;
    readFileInto(fileName, window, encoding);
}

void TOrl::saveAsEncoding(ScriptEncoding encoding)
{
    if (!applyActiveEditorRule())
        return;
    TForm2 *window = Form2;
    refuseWhileLoading(window);
    ScriptDocument *document = window->Memo1->document();
    if (const qsizetype missing = document->missingCharacters(encoding); missing > 0) {
        const Dialogs::Button answer = Dialogs::ask(
            {window, Dialogs::Icon::Question, QStringLiteral("Подтверждение"),
             QStringLiteral("В тексте окна %1 есть символы, которых нет в Windows-1251: %2. Каждый из них станет "
                            "знаком \"?\". Сохранять как Windows-1251?")
                 .arg(window->windowTitle())
                 .arg(missing),
             {Dialogs::Button::Yes, Dialogs::Button::No}},
            Dialogs::Button::No);
        if (answer != Dialogs::Button::Yes)
            return;
    }
    document->convertTo(encoding);
}
