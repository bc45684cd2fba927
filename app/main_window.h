#pragma once

#include "catalogue/palette_list.h"
#include "editor/script_text.h"
#include "language/snippet_tables.h"

#include <QMainWindow>
#include <QPointer>

#include <optional>

class QAction;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QListWidget;
class QMdiArea;
class QMenu;
class QTabWidget;
class QToolBar;
class TForm2;

// The main window: a multiple-document frame with the menu, the toolbar and the five palettes.
class TOrl : public QMainWindow {
    Q_OBJECT
public:
    explicit TOrl(QWidget *parent = nullptr);
    ~TOrl() override;

    QMdiArea *clientArea() const { return m_mdiArea; }

    // Open editor windows, the one being created included.
    int MDIChildCount() const;
    TForm2 *ActiveMDIChild() const;
    QList<TForm2 *> editorWindows() const;

    // The first two steps of every command that acts on an editor: false when none is open,
    // otherwise the current editor Form2 is set to the active one.
    bool applyActiveEditorRule();

    // "Сохранить" for one window; false when the user cancelled the dialog. Throws on a failed write.
    bool saveEditor(TForm2 *window);

    // Opens a file in a new editor window as "Открыть..." does; throws when it cannot be read. A
    // large file is read on a thread of its own: the window shows how far it has come meanwhile.
    void openScriptFile(const QString &fileName);
    // Opens each file (given on the command line or dropped on a window); an unreadable one shows
    // its error box and the others still open.
    void openFiles(const QStringList &paths);

    // Shows the window where it was when the program last ended, maximized on the first start.
    void showAsLastTime();

    // "Последние файлы" under "Файл": its items are made from the remembered list when it opens.
    QMenu *recentFilesMenu() const { return m_recentFilesMenu; }
    void updateRecentFilesMenu();

    // F6: the keyboard goes from the active editor to the palettes and back.
    void switchKeyboardBetweenEditorAndPalettes();
    // The palettes in the order Tab visits them: the shown page of the left tabs, then the right ones.
    QList<QListWidget *> paletteRoute() const;

    // Menu items, toolbar buttons and palettes, under the names of the window layout: N1 "Файл",
    // N10 "Форматирование", N19 "Создать", N24 "Окна" (N27 its "Упорадочит"), N42 "Поиск" and N37
    // "Инфо." open their menus; every other N item is the command its handler below names.
    // ToolButtonN runs a menu item; OnPanel and Indent are the left palettes, Simbol, Comands and
    // Dialog2 the right ones in Panel1.
    QAction *N1, *N2, *N3, *N4, *N6, *N7, *N9;
    QAction *N10, *N11, *N12, *N13, *N15, *N16, *N41;
    QAction *N19, *N20, *N21, *N23, *N31;
    QAction *N24, *N25, *N26, *N27, *N28, *N29;
    QAction *NextWindow;     // "Следующее окно" in "Окна", Ctrl+F6
    QAction *PreviousWindow; // "Предыдущее окно" in "Окна", Ctrl+Shift+F6
    QAction *N42, *N43, *N44;
    QAction *CheckBraces;   // "Проверить скобки" in "Поиск"
    QAction *DialogPreview; // "Предпросмотр диалога" in "Создать"
    QAction *N37, *N39;
    // "Кодировка" in "Файл": the active window's file read again in an encoding, and the encoding
    // its text is saved in, the present one checked.
    QMenu *EncodingMenu;
    QAction *ReopenAsWindows1251, *ReopenAsUtf8;
    QAction *SaveAsWindows1251, *SaveAsUtf8, *SaveAsUtf8WithBom;
    QToolBar *ToolBar1;
    QAction *ToolButton1, *ToolButton2, *ToolButton3, *ToolButton5, *ToolButton6, *ToolButton15;
    QAction *ToolButton11, *ToolButton12, *ToolButton7, *ToolButton16;
    QTabWidget *PageControl1;
    PaletteList *OnPanel, *Indent, *Simbol, *Comands, *Dialog2;
    QWidget *Panel1;
    QGroupBox *GroupBox1, *GroupBox2, *GroupBox3;
    QLabel *Image1;

    // File commands.
    void N2Click(); // "Создать...": a new empty script window
    void N3Click(); // "Закрыть": closes the active script window
    void N4Click(); // "Открыть...": a file read into a new script window
    void N6Click(); // "Сохранить": the active window's text written without a dialog where it may be
    void N7Click(); // "Сохранить как...": the active window's text written under a chosen name
    void N9Click(); // "Выход": closes the main window and ends the program
    // "Открыть заново как ...": the active window's file read again in the encoding, after a
    // question where the text was changed; bytes that are not UTF-8 are refused as UTF-8.
    void reopenAs(ScriptEncoding encoding);
    // "Сохранять как ...": the active window's text put into the encoding, which its next save
    // writes; where Windows-1251 lacks characters, after a question that says how many.
    void saveAsEncoding(ScriptEncoding encoding);
    // The checked item follows the active window's encoding.
    void updateEncodingMenu();
    // Editing and formatting commands.
    void N11Click(); // "Копировать...": the selection to the clipboard
    void N12Click(); // "Вставить...": the clipboard's text at the caret
    void N13Click(); // "Выделить всё...": selects the whole text
    void N15Click(); // "Закоментировать": wraps the selection in comment marks
    void N16Click(); // "Отступить от начала": indents the selected lines
    void N41Click(); // "Очистить редактор": empties the text after a question
    void N43Click(); // "Поиск": opens the active window's find dialog
    void N44Click(); // "Заменить": opens the active window's replace dialog
    // "Проверить скобки": reports the first unbalanced brace of the active window's script.
    void CheckBracesClick();
    // Windows of the "Создать" and "Инфо." menus.
    void N20Click(); // "Алиас": the alias creator, modally
    void N21Click(); // "Переменную": the variable creator, modally
    void N23Click(); // "Создать диалоговое окно": one more dialog designer
    // "Предпросмотр диалога": the dialog table under the active editor's caret, shown as mIRC would.
    void DialogPreviewClick();
    void N31Click(); // "Цвет": one more colour picker
    void N39Click(); // "О аторе": the about window, modally
    // Window arrangement.
    void N25Click(); // "Каскадом": cascades the script windows
    void N26Click(); // "Вытроить значки": lines up the minimized windows' icons
    void N28Click(); // "По Горизонтали": tiles the script windows one above the other
    void N29Click(); // "По вертикали": tiles the script windows side by side
    // Window switching: the next or previous script window in the order of the window list.
    void NextWindowClick();
    void PreviousWindowClick();
    // The numbered items at the end of "Окна", one per open script window in the order they were
    // opened, the active one checked; Alt+1 to Alt+9 (or the item) makes that window the active one.
    QList<QAction *> windowListItems() const { return m_windowListItems; }
    // Palettes.
    void FormCreate(); // fills the five palettes from their data files
    void OnPanelClick(); // "ON Панель": appends an event header
    void IndentClick(); // "Идентифи.": appends an identifier
    void SimbolClick(); // "Символы": appends a symbol
    void ComandsClick(); // "Команды": appends a command's syntax line
    void Dialog2Click(); // "Диалог. Окна": appends a dialog-table template

    // The program-wide last-saved file name: the name last chosen in a save dialog.
    QString lastSavedFileName() const { return m_lastSavedFileName; }

protected:
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createMenus();
    // The keys that reach the menu bar without a mouse: F10, and a lone Alt on every platform.
    void openMenuBarByKeyboard();
    void attachToWindowMenu(TForm2 *window);
    void updateWindowList();
    void activateEditor(TForm2 *window);
    void activateEditorAfter(int step);
    void createToolBar();
    void createPalettes();
    QAction *addMenuItem(QMenu *menu, const QString &caption, void (TOrl::*handler)(),
                         const QKeySequence &shortcut = {}, int icon = -1);
    QAction *addToolButton(const QString &hint, int icon, QAction *item);
    TForm2 *createEditor();
    void writeEditor(TForm2 *window, const QString &fileName);
    // Where the file dialogs start: the folder of the active window's file, else the last one used.
    QString dialogFolder() const;
    // A file opened or saved becomes the last folder and the newest recent file.
    void rememberFile(const QString &fileName);
    void openRecentFile(const QString &fileName);
    // Tab, Shift+Tab and Ctrl+Tab in the editor move the keyboard on to the palettes.
    void watchKeyboardRoute(TForm2 *window);
    // Reads a file into reopened, or else into a new window made once the file proved readable, in
    // the encoding given or else the one its bytes show; a large file on a thread of its own.
    void readFileInto(const QString &fileName, TForm2 *reopened, std::optional<ScriptEncoding> encoding);
    // A file's bytes made the window's text, in the encoding given or else the one they show.
    void loadBytes(TForm2 *window, const QString &fileName, QByteArray bytes, std::optional<ScriptEncoding> encoding);
    // The same for a large file, read on a thread of its own. A window that had a text before
    // (reopening) keeps it where the file cannot be read; a new one goes.
    void loadInBackground(TForm2 *window, const QString &fileName, std::optional<ScriptEncoding> encoding = {},
                          bool reopening = false);
    void createEncodingMenu(QMenu *file);
    // What follows a window's file being read into it: the file is its own, and remembered.
    void fileOpened(TForm2 *window, const QString &fileName);
    bool movesAlongRoute(QWidget *from, const QKeyEvent &key);
    void moveToPalette(int index);
    void connectPalette(PaletteList *palette, void (TOrl::*handler)());
    // A palette click: the active-editor rule, then the selected row's snippet appended as a line.
    void appendSelectedSnippet(const QListWidget *palette, SnippetTable table);

    QMdiArea *m_mdiArea = nullptr;
    QMenu *m_recentFilesMenu = nullptr;
    QMenu *m_windowsMenu = nullptr;
    QAction *m_windowListSeparator = nullptr;
    QList<QAction *> m_windowListItems;
    QPointer<QListWidget> m_lastPalette;
    QString m_lastSavedFileName;
    int m_openFilterIndex = 0;
    int m_saveFilterIndex = 0;
};

extern QPointer<TOrl> Orl;
