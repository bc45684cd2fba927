#include "app/main_window.h"

#include "app/remembered.h"
#include "auxiliary/about_window.h"
#include "catalogue/data_folder.h"
#include "catalogue/palette_list.h"
#include "catalogue/palettes.h"
#include "common/fixed_layout.h"
#include "common/handler_guard.h"
#include "common/icons.h"
#include "common/long_task.h"
#include "designer/dialog_designer_window.h"
#include "designer/dialog_preview_window.h"
#include "editor/script_editor_window.h"
#include "editor/script_memo.h"
#include "wizards/alias_creator_window.h"
#include "wizards/colour_picker_window.h"
#include "wizards/variable_creator_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMimeData>
#include <QProxyStyle>
#include <QScreen>
#include <QStyle>
#include <QStyleFactory>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>

#include <functional>
#include <utility>

QPointer<TOrl> Orl;

using namespace FixedLayout;

namespace {

PaletteList *addPalette(QWidget *parent, const QString &name)
{
    auto *palette = new PaletteList(parent);
    palette->setObjectName(name);
    return palette;
}

// Runs a palette's handler once for a selection made with the mouse: at the click, or at the
// release of a press that moved the selection to another row, where no click follows.
class PaletteMouseSelection : public QObject {
public:
    PaletteMouseSelection(QListWidget *palette, std::function<void()> handler)
        : QObject(palette), m_handler(std::move(handler))
    {
        palette->viewport()->installEventFilter(this);
    }

    void rowChangedWithButtonDown() { m_pending = true; }

    void clicked()
    {
        m_pending = false;
        m_handler();
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // The list emits its click while it handles the release; what is still pending after that
        // had no click.
        if (event->type() == QEvent::MouseButtonRelease) {
            QMetaObject::invokeMethod(this, [this] {
                if (std::exchange(m_pending, false))
                    runGuarded(m_handler);
            }, Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_handler;
    bool m_pending = false;
};

// The right-hand panel: its group boxes and picture keep their places at the panel's full height
// and move up and shrink in proportion on a shorter window, each list scrolling within its box.
class PalettePanel : public QWidget {
public:
    static constexpr int kFullHeight = 713;
    // At this height every box still shows a few rows.
    static constexpr int kLeastHeight = 285;

    explicit PalettePanel(QWidget *parent) : QWidget(parent) { setMinimumHeight(kLeastHeight); }

    // A child at its place in the full-height panel; a picture keeps its own size.
    void place(QWidget *child, const QRect &geometry, bool keepsItsSize = false)
    {
        m_places.append({child, geometry, keepsItsSize});
        child->setGeometry(scaled(m_places.constLast()));
    }

protected:
    void resizeEvent(QResizeEvent *event) override
    {
        QWidget::resizeEvent(event);
        for (const Place &place : std::as_const(m_places))
            place.child->setGeometry(scaled(place));
    }

private:
    struct Place {
        QWidget *child;
        QRect geometry;
        bool keepsItsSize;
    };

    QRect scaled(const Place &place) const
    {
        const int height = qMin(this->height(), kFullHeight);
        const auto y = [height](int full) { return full * height / kFullHeight; };
        const QRect &full = place.geometry;
        const int top = y(full.top());
        return QRect(full.left(), top, full.width(), place.keepsItsSize ? full.height() : y(full.bottom() + 1) - top);
    }

    QList<Place> m_places;
};

} // namespace

TOrl::TOrl(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("Orl"));
    setWindowTitle(QStringLiteral(".:: Orl ::. Orl version 1.0"));
    setToolTip(QStringLiteral("Orl"));
    setFont(FixedLayout::pixelFont(QStringLiteral("Arial"), 11));
    resize(870, 706);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    setWindowIcon(applicationIcon());
    // Files dropped anywhere on the window but on an editor's text open in new editor windows.
    setAcceptDrops(true);

    createMenus();
    createToolBar();
    createPalettes();
    FormCreate();
}

void TOrl::showAsLastTime()
{
    const QByteArray geometry = Remembered::mainWindowGeometry();
    if (geometry.isEmpty() || !restoreGeometry(geometry))
        showMaximized();
    else
        show();
}

TOrl::~TOrl()
{
    // The menus go before the document area: its windows' last activations must not reach them.
    disconnect(m_mdiArea, nullptr, this, nullptr);
}

QAction *TOrl::addMenuItem(QMenu *menu, const QString &caption, void (TOrl::*handler)(),
                           const QKeySequence &shortcut, int icon)
{
    QAction *item = menu->addAction(caption);
    if (!shortcut.isEmpty()) {
        item->setShortcut(shortcut);
        item->setShortcutContext(Qt::ApplicationShortcut);
    }
    if (icon >= 0)
        item->setIcon(imageListIcon(icon));
    onSignal(item, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
    return item;
}

void TOrl::createMenus()
{
    QMenuBar *bar = menuBar();

    QMenu *file = bar->addMenu(QStringLiteral("&Файл"));
    N1 = file->menuAction();
    N2 = addMenuItem(file, QStringLiteral("&Создать..."), &TOrl::N2Click, QKeySequence(Qt::CTRL | Qt::Key_N), 0);
    // Ctrl+F4 closes the active script window, as in other programs with child windows, and so does
    // the platform's close key (Ctrl+W); they belong to the main window, so that they never close a
    // script window from a designer or a picker.
    N3 = addMenuItem(file, QStringLiteral("&Закрыть"), &TOrl::N3Click, QKeySequence(Qt::CTRL | Qt::Key_F4), 3);
    QList<QKeySequence> closeKeys{N3->shortcut()};
    for (const QKeySequence &key : QKeySequence::keyBindings(QKeySequence::Close)) {
        if (!closeKeys.contains(key))
            closeKeys.append(key);
    }
    N3->setShortcuts(closeKeys);
    N3->setShortcutContext(Qt::WindowShortcut);
    N4 = addMenuItem(file, QStringLiteral("&Открыть..."), &TOrl::N4Click, QKeySequence(Qt::CTRL | Qt::Key_O), 2);
    m_recentFilesMenu = file->addMenu(QStringLiteral("&Последние файлы"));
    m_recentFilesMenu->setObjectName(QStringLiteral("RecentFiles"));
    m_recentFilesMenu->menuAction()->setEnabled(!Remembered::recentFiles().isEmpty());
    onSignal(m_recentFilesMenu, &QMenu::aboutToShow, this, [this] { updateRecentFilesMenu(); });
    file->addSeparator();
    // Ctrl+S belongs to "Сохранить как..."; "Сохранить" takes the combination next to it.
    N6 = addMenuItem(file, QStringLiteral("Со&хранить"), &TOrl::N6Click, QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::Key_S), 4);
    N7 = addMenuItem(file, QStringLiteral("Сохранить &как..."), &TOrl::N7Click, QKeySequence(Qt::CTRL | Qt::Key_S), 5);
    createEncodingMenu(file);
    file->addSeparator();
    N9 = addMenuItem(file, QStringLiteral("&Выход"), &TOrl::N9Click, {}, 7);

    QMenu *format = bar->addMenu(QStringLiteral("Фор&матирование"));
    N10 = format->menuAction();
    N11 = addMenuItem(format, QStringLiteral("&Копировать..."), &TOrl::N11Click, QKeySequence(Qt::CTRL | Qt::Key_C));
    N12 = addMenuItem(format, QStringLiteral("&Вставить..."), &TOrl::N12Click, QKeySequence(Qt::CTRL | Qt::Key_V));
    N13 = addMenuItem(format, QStringLiteral("Выде&лить всё..."), &TOrl::N13Click, QKeySequence(Qt::CTRL | Qt::Key_A));
    format->addSeparator();
    N15 = addMenuItem(format, QStringLiteral("&Закоментировать"), &TOrl::N15Click);
    N16 = addMenuItem(format, QStringLiteral("&Отступить от начала"), &TOrl::N16Click);
    format->addSeparator();
    N41 = addMenuItem(format, QStringLiteral("Очистить &редактор"), &TOrl::N41Click);

    QMenu *create = bar->addMenu(QStringLiteral("&Создать"));
    N19 = create->menuAction();
    N20 = addMenuItem(create, QStringLiteral("&Алиас"), &TOrl::N20Click);
    N21 = addMenuItem(create, QStringLiteral("&Переменную"), &TOrl::N21Click);
    create->addSeparator();
    N23 = addMenuItem(create, QStringLiteral("Создать &диалоговое окно"), &TOrl::N23Click);
    DialogPreview = addMenuItem(create, QStringLiteral("П&редпросмотр диалога"), &TOrl::DialogPreviewClick);
    create->addSeparator();
    N31 = addMenuItem(create, QStringLiteral("&Цвет"), &TOrl::N31Click, QKeySequence(Qt::CTRL | Qt::Key_K));

    QMenu *windows = bar->addMenu(QStringLiteral("&Окна"));
    N24 = windows->menuAction();
    N25 = addMenuItem(windows, QStringLiteral("&Каскадом"), &TOrl::N25Click, {}, 9);
    N26 = addMenuItem(windows, QStringLiteral("&Вытроить значки"), &TOrl::N26Click, {}, 10);
    QMenu *tile = windows->addMenu(QStringLiteral("&Упорадочит"));
    N27 = tile->menuAction();
    N28 = addMenuItem(tile, QStringLiteral("По &Горизонтали"), &TOrl::N28Click, {}, 11);
    N29 = addMenuItem(tile, QStringLiteral("По &вертикали"), &TOrl::N29Click, {}, 13);
    windows->addSeparator();
    NextWindow = addMenuItem(windows, QStringLiteral("&Следующее окно"), &TOrl::NextWindowClick,
                             QKeySequence(Qt::CTRL | Qt::Key_F6));
    PreviousWindow = addMenuItem(windows, QStringLiteral("&Предыдущее окно"), &TOrl::PreviousWindowClick,
                                 QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F6));
    for (QAction *item : {NextWindow, PreviousWindow})
        item->setShortcutContext(Qt::WindowShortcut);
    m_windowsMenu = windows;
    m_windowListSeparator = windows->addSeparator();
    m_windowListSeparator->setVisible(false);
    onSignal(windows, &QMenu::aboutToShow, this, [this] { updateWindowList(); });

    QMenu *search = bar->addMenu(QStringLiteral("&Поиск"));
    N42 = search->menuAction();
    N43 = addMenuItem(search, QStringLiteral("&Поиск"), &TOrl::N43Click, QKeySequence(Qt::CTRL | Qt::Key_F), 6);
    N44 = addMenuItem(search, QStringLiteral("&Заменить"), &TOrl::N44Click,
                      QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_Z), 8);
    search->addSeparator();
    CheckBraces = addMenuItem(search, QStringLiteral("Проверить &скобки"), &TOrl::CheckBracesClick,
                              QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_B));

    QMenu *info = bar->addMenu(QStringLiteral("&Инфо."));
    N37 = info->menuAction();
    N39 = addMenuItem(info, QStringLiteral("&О аторе"), &TOrl::N39Click);

    // F6 moves the keyboard between the active editor and the palettes, as in many editors.
    auto *switchKeyboard = new QAction(this);
    switchKeyboard->setShortcut(QKeySequence(Qt::Key_F6));
    switchKeyboard->setShortcutContext(Qt::WindowShortcut);
    addAction(switchKeyboard);
    onSignal(switchKeyboard, &QAction::triggered, this, [this] { switchKeyboardBetweenEditorAndPalettes(); });

    openMenuBarByKeyboard();

    // The editor's own copy, paste and select-all keys do the same as the menu items; the others
    // belong to the menu even where the platform gives the text control a meaning for them, and so
    // do Alt and a digit, which choose a window from the window list.
    QList<QKeySequence> reserved{N2->shortcut(), N4->shortcut(), N6->shortcut(),
                                 N7->shortcut(), N31->shortcut(), N43->shortcut(), N44->shortcut(),
                                 CheckBraces->shortcut(), NextWindow->shortcut(), PreviousWindow->shortcut(),
                                 QKeySequence(Qt::Key_F10)};
    reserved.append(N3->shortcuts());
    for (int number = 1; number <= 9; ++number)
        reserved.append(QKeySequence(Qt::ALT | Qt::Key(Qt::Key_0 + number)));
    ScriptMemo::setReservedShortcuts(reserved);
}

namespace {

// The menu bar's style: the platform's own, except that a lone Alt press always selects the menu
// bar, as on Windows, also under desktops whose style leaves that to the desktop.
class AltSelectsMenuBar : public QProxyStyle {
public:
    AltSelectsMenuBar() : QProxyStyle(QStyleFactory::create(QApplication::style()->name())) { }

    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returnData) const override
    {
        if (hint == SH_MenuBar_AltKeyNavigation)
            return 1;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

} // namespace

void TOrl::openMenuBarByKeyboard()
{
    auto *style = new AltSelectsMenuBar;
    style->setParent(menuBar());
    menuBar()->setStyle(style);

    // F10 opens the first menu, as in desktop programs of every platform.
    auto *menuKey = new QAction(this);
    menuKey->setShortcut(QKeySequence(Qt::Key_F10));
    menuKey->setShortcutContext(Qt::WindowShortcut);
    addAction(menuKey);
    onSignal(menuKey, &QAction::triggered, this, [this] { menuBar()->setActiveAction(N1); });
}

QAction *TOrl::addToolButton(const QString &hint, int icon, QAction *item)
{
    QAction *button = ToolBar1->addAction(imageListIcon(icon), hint);
    button->setToolTip(hint);
    // A toolbar button runs its menu item's click, with every rule of the item.
    connect(button, &QAction::triggered, item, [item] { item->trigger(); });
    return button;
}

void TOrl::createToolBar()
{
    ToolBar1 = addToolBar(QStringLiteral("ToolBar1"));
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setMovable(false);
    ToolBar1->setIconSize(QSize(16, 16));
    ToolBar1->setFixedHeight(25);
    ToolButton1 = addToolButton(QStringLiteral("Создать чистый файл"), 0, N2);
    ToolButton2 = addToolButton(QStringLiteral("Очистить"), 1, N41);
    ToolButton3 = addToolButton(QStringLiteral("Открыть"), 2, N4);
    ToolBar1->addSeparator();
    ToolButton5 = addToolButton(QStringLiteral("Копировать"), 16, N11);
    ToolButton6 = addToolButton(QStringLiteral("Вставить"), 12, N12);
    ToolButton15 = addToolButton(QStringLiteral("Закоментировать"), 18, N15);
    ToolBar1->addSeparator();
    ToolButton11 = addToolButton(QStringLiteral("Поиск"), 6, N43);
    ToolButton12 = addToolButton(QStringLiteral("Заменить"), 8, N44);
    ToolBar1->addSeparator();
    ToolButton7 = addToolButton(QStringLiteral("Сохранить"), 4, N6);
    ToolButton16 = addToolButton(QStringLiteral("Сохранить как..."), 5, N7);
}

void TOrl::createPalettes()
{
    auto *central = new QWidget(this);
    auto *row = new QHBoxLayout(central);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);

    PageControl1 = new QTabWidget(central);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setFixedWidth(145);
    // Both tab captions fit the palette's narrow width.
    PageControl1->setUsesScrollButtons(false);
    PageControl1->setStyleSheet(QStringLiteral("QTabBar::tab { padding: 2px 3px; font-size: 11px; }"));
    OnPanel = addPalette(PageControl1, QStringLiteral("OnPanel"));
    Indent = addPalette(PageControl1, QStringLiteral("Indent"));
    PageControl1->addTab(OnPanel, QStringLiteral("ON Панель"));
    PageControl1->addTab(Indent, QStringLiteral("Идентифи."));
    PageControl1->setAccessibleName(QStringLiteral("Палитры событий и идентификаторов"));
    PageControl1->setCurrentIndex(0);
    row->addWidget(PageControl1);

    m_mdiArea = new QMdiArea(central);
    m_mdiArea->setObjectName(QStringLiteral("MDIClient"));
    m_mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    row->addWidget(m_mdiArea, 1);
    onSignal(m_mdiArea, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow *window) {
        if (auto *editor = qobject_cast<TForm2 *>(window))
            editor->FormActivate();
        updateWindowList();
    });

    auto *panel = new PalettePanel(central);
    Panel1 = panel;
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFixedWidth(120);
    Panel1->setAutoFillBackground(true);
    Simbol = addPalette(Panel1, QStringLiteral("Simbol"));
    Comands = addPalette(Panel1, QStringLiteral("Comands"));
    Dialog2 = addPalette(Panel1, QStringLiteral("Dialog2"));
    Image1 = new QLabel(Panel1);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Image1->setPixmap(QPixmap(QStringLiteral(":/orl_picture.jpg")));
    panel->place(Image1, QRect(8, 200, 105, 105), true);
    GroupBox1 = addGroupBox(Panel1, QStringLiteral("Символы"), QRect(8, 8, 105, 185), Simbol);
    GroupBox2 = addGroupBox(Panel1, QStringLiteral("Команды"), QRect(8, 240, 105, 241), Comands);
    GroupBox3 = addGroupBox(Panel1, QStringLiteral("Диалог. Окна"), QRect(8, 496, 105, 217), Dialog2);
    // The boxes are opaque: the one below the picture covers its lower part, the more so on a
    // shorter panel.
    for (QGroupBox *group : {GroupBox1, GroupBox2, GroupBox3}) {
        group->setAutoFillBackground(true);
        panel->place(group, group->geometry());
    }
    row->addWidget(Panel1);

    setCentralWidget(central);

    const QList<QPair<QListWidget *, QString>> captions{{OnPanel, QStringLiteral("ON Панель")},
                                                        {Indent, QStringLiteral("Идентифи.")},
                                                        {Simbol, QStringLiteral("Символы")},
                                                        {Comands, QStringLiteral("Команды")},
                                                        {Dialog2, QStringLiteral("Диалог. Окна")}};
    for (const auto &[palette, caption] : captions) {
        palette->setAccessibleName(caption);
        palette->installEventFilter(this);
    }

    connectPalette(OnPanel, &TOrl::OnPanelClick);
    connectPalette(Indent, &TOrl::IndentClick);
    connectPalette(Simbol, &TOrl::SimbolClick);
    connectPalette(Comands, &TOrl::ComandsClick);
    connectPalette(Dialog2, &TOrl::Dialog2Click);
}

void TOrl::connectPalette(PaletteList *palette, void (TOrl::*handler)())
{
    // A palette reacts to every selection the user makes: a click on a row (also on the row already
    // selected), every move of the selection with the keyboard, and a press released on another row
    // than it began on. A row reached while a mouse button is down waits for the click or, where no
    // click comes, for the release, so that one press appends one snippet: the final row's.
    auto *mouse = new PaletteMouseSelection(palette, [this, handler] { (this->*handler)(); });
    onSignal(palette, &QListWidget::itemClicked, this, [mouse] { mouse->clicked(); });
    onSignal(palette, &PaletteList::rowChosen, this, [this, handler] { (this->*handler)(); });
    onSignal(palette, &QListWidget::currentRowChanged, this, [this, handler, mouse](int row) {
        if (row < 0)
            return;
        if (QGuiApplication::mouseButtons() == Qt::NoButton)
            (this->*handler)();
        else
            mouse->rowChangedWithButtonDown();
    });
}

void TOrl::FormCreate()
{
    // The data files come from the first folder that holds Dat/: the working directory, then the
    // executable's folder, then the installed data folder. The first file that cannot be opened
    // ends the filling; the palettes from it on stay empty and start-up goes on after the error box.
    const QString folder = DataFolder::firstHoldingDat(DataFolder::searchOrder());
    const auto source = [&folder](QListWidget *palette, const char *dataFile) {
        return Palettes::Source{palette, DataFolder::filePath(folder, QLatin1String(dataFile))};
    };
    runGuarded([&] {
        Palettes::fill({source(Simbol, "Dat/simbol.orl"), source(OnPanel, "Dat/On.orl"),
                        source(Indent, "Dat/Identifers.orl"), source(Comands, "Dat/Comands.orl"),
                        source(Dialog2, "Dat/DialogBox.orl")});
    });
}

void TOrl::appendSelectedSnippet(const QListWidget *palette, SnippetTable table)
{
    if (!applyActiveEditorRule())
        return;
    if (const std::optional<QString> snippet = Palettes::selectedSnippet(*palette, table))
        Form2->Memo1->appendAsLine(*snippet);
}

void TOrl::OnPanelClick()
{
    appendSelectedSnippet(OnPanel, SnippetTable::EventHeaders);
}

void TOrl::IndentClick()
{
    appendSelectedSnippet(Indent, SnippetTable::Identifiers);
}

void TOrl::SimbolClick()
{
    appendSelectedSnippet(Simbol, SnippetTable::Symbols);
}

void TOrl::ComandsClick()
{
    appendSelectedSnippet(Comands, SnippetTable::Commands);
}

void TOrl::Dialog2Click()
{
    appendSelectedSnippet(Dialog2, SnippetTable::DialogTemplates);
}

QList<TForm2 *> TOrl::editorWindows() const
{
    QList<TForm2 *> editors;
    for (QMdiSubWindow *window : m_mdiArea->subWindowList()) {
        auto *editor = qobject_cast<TForm2 *>(window);
        if (editor && editor->isOpen())
            editors.append(editor);
    }
    return editors;
}

int TOrl::MDIChildCount() const
{
    return int(editorWindows().size());
}

TForm2 *TOrl::ActiveMDIChild() const
{
    // The current child stays the one that has the focus within the frame while a dialog or
    // another window has the application's focus.
    auto *editor = qobject_cast<TForm2 *>(m_mdiArea->currentSubWindow());
    if (editor && editor->isOpen())
        return editor;
    const QList<TForm2 *> editors = editorWindows();
    return editors.isEmpty() ? nullptr : editors.last();
}

bool TOrl::applyActiveEditorRule()
{
    if (MDIChildCount() < 1)
        return false;
    Form2 = ActiveMDIChild();
    return Form2 != nullptr;
}

void TOrl::N9Click()
{
    close();
}

void TOrl::closeEvent(QCloseEvent *event)
{
    if (LongTask::running()) {
        event->ignore();
        return;
    }
    const QList<TForm2 *> editors = editorWindows();
    for (TForm2 *editor : editors) {
        if (!editor->confirmClose()) {
            for (TForm2 *asked : editors)
                asked->forgetCloseAnswer();
            event->ignore();
            return;
        }
    }
    event->accept();
    Remembered::setMainWindowGeometry(saveGeometry());
    QMainWindow::closeEvent(event);
    // Designers and colour pickers are windows of their own; the program ends with the main window.
    QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}

void TOrl::N20Click()
{
    if (!applyActiveEditorRule())
        return;
    Form3->exec();
}

void TOrl::N21Click()
{
    if (!applyActiveEditorRule())
        return;
    Form4->exec();
}

void TOrl::N23Click()
{
    Form5 = new TForm5(this);
}

void TOrl::DialogPreviewClick()
{
    if (!applyActiveEditorRule())
        return;
    showDialogPreview(Form2->Memo1, this);
}

void TOrl::N31Click()
{
    if (!applyActiveEditorRule())
        return;
    Form10 = new TForm10(this);
}

void TOrl::N39Click()
{
    Form11->exec();
}

namespace {

// Cascades the restored windows: each two thirds of the area, one title bar below and to the right
// of the one before it, starting again at the top left where the next would leave the area. The
// window in front stays in front.
void cascade(QMdiArea *area)
{
    QList<QMdiSubWindow *> windows;
    for (QMdiSubWindow *window : area->subWindowList(QMdiArea::StackingOrder)) {
        if (!window->isVisible() || window->isMinimized())
            continue;
        if (window->isMaximized())
            window->showNormal();
        windows.append(window);
    }
    // The area's size once no window is maximized any more.
    const QRect space = area->viewport()->rect();
    const QSize size(space.width() * 2 / 3, space.height() * 2 / 3);
    QPoint offset;
    for (QMdiSubWindow *window : std::as_const(windows)) {
        const int step = window->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, window);
        if (offset.y() + size.height() > space.height() || offset.x() + size.width() > space.width())
            offset = QPoint();
        window->setGeometry(QRect(offset, size));
        window->raise();
        offset += QPoint(step, step);
    }
}

} // namespace

void TOrl::N25Click()
{
    cascade(m_mdiArea);
}

namespace {

QList<QMdiSubWindow *> restoredWindows(QMdiArea *area)
{
    QList<QMdiSubWindow *> windows;
    for (QMdiSubWindow *window : area->subWindowList()) {
        if (window->isVisible() && !window->isMinimized())
            windows.append(window);
    }
    return windows;
}

// Lays the restored windows out in one column (each as wide as the area) or one row.
void tile(QMdiArea *area, Qt::Orientation stacking)
{
    const QList<QMdiSubWindow *> windows = restoredWindows(area);
    if (windows.isEmpty())
        return;
    const QRect space = area->viewport()->rect();
    const int count = int(windows.size());
    for (int i = 0; i < count; ++i) {
        QMdiSubWindow *window = windows.at(i);
        if (window->isMaximized())
            window->showNormal();
        if (stacking == Qt::Vertical) {
            const int top = space.height() * i / count;
            window->setGeometry(0, top, space.width(), space.height() * (i + 1) / count - top);
        } else {
            const int left = space.width() * i / count;
            window->setGeometry(left, 0, space.width() * (i + 1) / count - left, space.height());
        }
    }
}

} // namespace

void TOrl::N26Click()
{
    // Lines up the minimized windows' icons along the bottom edge, left to right.
    const QRect space = m_mdiArea->viewport()->rect();
    int left = 0;
    int bottom = space.bottom() + 1;
    for (QMdiSubWindow *window : m_mdiArea->subWindowList()) {
        if (!window->isMinimized())
            continue;
        const QSize size = window->size();
        if (left > 0 && left + size.width() > space.width()) {
            left = 0;
            bottom -= size.height();
        }
        window->move(left, bottom - size.height());
        left += size.width();
    }
}

void TOrl::N28Click()
{
    tile(m_mdiArea, Qt::Vertical);
}

void TOrl::N29Click()
{
    tile(m_mdiArea, Qt::Horizontal);
}

void TOrl::activateEditor(TForm2 *window)
{
    m_mdiArea->setActiveSubWindow(window);
    window->Memo1->setFocus(Qt::OtherFocusReason);
}

void TOrl::activateEditorAfter(int step)
{
    const QList<TForm2 *> editors = editorWindows();
    if (editors.isEmpty())
        return;
    const int count = int(editors.size());
    const int active = int(editors.indexOf(ActiveMDIChild()));
    activateEditor(editors.at(((active + step) % count + count) % count));
}

void TOrl::NextWindowClick()
{
    activateEditorAfter(1);
}

void TOrl::PreviousWindowClick()
{
    activateEditorAfter(-1);
}

void TOrl::attachToWindowMenu(TForm2 *window)
{
    // The list follows the window's caption, and drops the window once it is gone.
    onSignal(window, &QWidget::windowTitleChanged, this, [this] { updateWindowList(); });
    connect(window, &QObject::destroyed, this, [this] { updateWindowList(); }, Qt::QueuedConnection);
    // The close keys of the window's own system menu, one set per window, would leave the keys to
    // no one among several windows: "Закрыть" alone has them.
    if (QMenu *systemMenu = window->systemMenu()) {
        for (QAction *item : systemMenu->actions()) {
            for (const QKeySequence &key : N3->shortcuts()) {
                if (item->shortcuts().contains(key))
                    item->setShortcuts({});
            }
        }
    }
}

void TOrl::updateWindowList()
{
    // Items taken out now may be running this very update: they go once it has returned.
    for (QAction *item : std::as_const(m_windowListItems)) {
        m_windowsMenu->removeAction(item);
        item->deleteLater();
    }
    m_windowListItems.clear();
    const QList<TForm2 *> editors = editorWindows();
    m_windowListSeparator->setVisible(!editors.isEmpty());
    const TForm2 *active = ActiveMDIChild();
    for (int i = 0; i < editors.size(); ++i) {
        const int number = i + 1;
        QString caption = editors.at(i)->windowTitle();
        caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
        // The first nine carry their number as the item's letter and Alt+number as its key.
        const bool keyed = number <= 9;
        const QString text = keyed ? QStringLiteral("&%1 %2") : QStringLiteral("%1 %2");
        auto *item = new QAction(text.arg(number).arg(caption), m_windowsMenu);
        item->setCheckable(true);
        item->setChecked(editors.at(i) == active);
        if (keyed) {
            item->setShortcut(QKeySequence(Qt::ALT | Qt::Key(Qt::Key_0 + number)));
            item->setShortcutContext(Qt::WindowShortcut);
        }
        const QPointer<TForm2> window = editors.at(i);
        onSignal(item, &QAction::triggered, this, [this, window] {
            if (window && window->isOpen())
                activateEditor(window);
        });
        m_windowsMenu->addAction(item);
        m_windowListItems.append(item);
    }
}

void TOrl::dragEnterEvent(QDragEnterEvent *event)
{
    if (!ScriptMemo::droppedFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void TOrl::dropEvent(QDropEvent *event)
{
    const QStringList files = ScriptMemo::droppedFiles(event->mimeData());
    if (files.isEmpty())
        return;
    event->acceptProposedAction();
    openFiles(files);
}

QList<QListWidget *> TOrl::paletteRoute() const
{
    return {qobject_cast<QListWidget *>(PageControl1->currentWidget()), Simbol, Comands, Dialog2};
}

void TOrl::moveToPalette(int index)
{
    const QList<QListWidget *> route = paletteRoute();
    QListWidget *palette = route.at((index % route.size() + route.size()) % route.size());
    palette->setFocus(Qt::TabFocusReason);
}

void TOrl::switchKeyboardBetweenEditorAndPalettes()
{
    TForm2 *editor = ActiveMDIChild();
    QWidget *focus = QApplication::focusWidget();
    const bool inEditor = editor && focus && editor->isAncestorOf(focus);
    if (inEditor || !editor) {
        const QList<QListWidget *> route = paletteRoute();
        const int index = m_lastPalette ? int(route.indexOf(m_lastPalette.data())) : -1;
        moveToPalette(qMax(0, index));
        return;
    }
    m_mdiArea->setActiveSubWindow(editor);
    editor->Memo1->setFocus(Qt::OtherFocusReason);
}

void TOrl::watchKeyboardRoute(TForm2 *window)
{
    window->Memo1->installEventFilter(this);
    // Ctrl+Tab would cycle the document area's windows before the text saw it; as shortcuts of the
    // text itself the keys lead to the palettes.
    const auto addRouteKeys = [this, window](const QList<QKeySequence> &keys, bool backwards) {
        auto *route = new QAction(window->Memo1);
        route->setShortcuts(keys);
        route->setShortcutContext(Qt::WidgetShortcut);
        window->Memo1->addAction(route);
        onSignal(route, &QAction::triggered, this,
                 [this, backwards] { moveToPalette(backwards ? int(paletteRoute().size()) - 1 : 0); });
    };
    addRouteKeys({QKeySequence(Qt::CTRL | Qt::Key_Tab)}, false);
    addRouteKeys({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab)},
                 true);
}

bool TOrl::movesAlongRoute(QWidget *from, const QKeyEvent &key)
{
    const bool tab = key.key() == Qt::Key_Tab || key.key() == Qt::Key_Backtab;
    const Qt::KeyboardModifiers others = key.modifiers() & ~(Qt::ShiftModifier | Qt::ControlModifier | Qt::KeypadModifier);
    if (!tab || others)
        return false;
    const bool backwards = key.key() == Qt::Key_Backtab || (key.modifiers() & Qt::ShiftModifier);
    const QList<QListWidget *> route = paletteRoute();
    if (auto *memo = qobject_cast<ScriptMemo *>(from)) {
        Q_UNUSED(memo);
        moveToPalette(backwards ? int(route.size()) - 1 : 0);
        return true;
    }
    // Ctrl+Tab in the left palettes turns their page; plain Tab goes on along the route, and from
    // its ends back to the active editor where one is open.
    if (key.modifiers() & Qt::ControlModifier)
        return false;
    const int index = int(route.indexOf(qobject_cast<QListWidget *>(from)));
    if (index < 0)
        return false;
    const int next = index + (backwards ? -1 : 1);
    TForm2 *editor = ActiveMDIChild();
    if ((next < 0 || next >= route.size()) && editor) {
        m_mdiArea->setActiveSubWindow(editor);
        editor->Memo1->setFocus(Qt::TabFocusReason);
        return true;
    }
    moveToPalette(next);
    return true;
}

bool TOrl::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn) {
        if (auto *palette = qobject_cast<QListWidget *>(watched))
            m_lastPalette = palette;
    }
    if (event->type() == QEvent::KeyPress && watched->isWidgetType()
        && movesAlongRoute(static_cast<QWidget *>(watched), *static_cast<QKeyEvent *>(event)))
        return true;
    return QMainWindow::eventFilter(watched, event);
}
