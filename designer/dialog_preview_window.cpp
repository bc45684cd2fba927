#include "designer/dialog_preview_window.h"

#include "common/fixed_layout.h"
#include "designer/dialog_preview_controls.h"
#include "editor/script_memo.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QSplitter>
#include <QStyle>
#include <QStyleFactory>
#include <QTabBar>
#include <QTabWidget>
#include <QTextBlock>
#include <QVBoxLayout>

using namespace DialogTable;
using DialogChecks::Problem;
using DialogChecks::Severity;
namespace Controls = DialogPreviewControls;

namespace {

// The paragraphs of a plain text box as lines.
class DocumentLines : public LineSource {
public:
    explicit DocumentLines(const QTextDocument *document) : m_document(document) { }
    int lineCount() const override { return m_document->blockCount(); }
    QString line(int i) const override { return m_document->findBlockByNumber(i).text(); }

private:
    const QTextDocument *m_document;
};

constexpr int kTitleBarHeight = 22;
constexpr int kFitMargin = 10;
const QSize kSmallestFit(120, 60);
const QColor kDialogFace(240, 240, 240);
const QColor kTitleBar(10, 36, 106);

QString controlName(const Control &control)
{
    return control.id.isWhole() ? u"control_%1"_qs.arg(control.id.value) : u"control_line_%1"_qs.arg(control.line + 1);
}

bool drawnOnItsOwn(const Control &control)
{
    return control.kind != u"tab" && control.kind != u"menu" && control.kind != u"item";
}

} // namespace

DialogPreviewWindow::DialogPreviewWindow(ScriptMemo *source, QWidget *owner)
    : QWidget(owner, Qt::Tool), m_source(source)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(u"Предпросмотр диалога"_qs);
    resize(780, 500);

    m_canvas = new QScrollArea;
    m_canvas->setObjectName(u"dialogCanvas"_qs);
    m_canvas->setAlignment(Qt::AlignCenter);
    m_canvas->setBackgroundRole(QPalette::Dark);

    auto *side = new QWidget;
    auto *sideLayout = new QVBoxLayout(side);
    sideLayout->setContentsMargins(4, 4, 4, 4);
    m_status = new QLabel;
    m_status->setObjectName(u"previewStatus"_qs);
    m_status->setWordWrap(true);
    m_problems = new QListWidget;
    m_problems->setObjectName(u"problemList"_qs);
    m_problems->setWordWrap(true);
    sideLayout->addWidget(m_status);
    sideLayout->addWidget(new QLabel(u"Строки, которые mIRC не примет или поймёт не так:"_qs));
    sideLayout->addWidget(m_problems, 1);
    connect(m_problems, &QListWidget::itemClicked, this, &DialogPreviewWindow::problemClicked);
    // Enter on a problem does what a click does; where a click already activates, once is enough.
    if (!m_problems->style()->styleHint(QStyle::SH_ItemView_ActivateItemOnSingleClick, nullptr, m_problems))
        connect(m_problems, &QListWidget::itemActivated, this, &DialogPreviewWindow::problemClicked);

    auto *splitter = new QSplitter;
    splitter->addWidget(m_canvas);
    splitter->addWidget(side);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter);

    m_rereadTimer.setSingleShot(true);
    m_rereadTimer.setInterval(kRereadDelayMs);
    connect(&m_rereadTimer, &QTimer::timeout, this, &DialogPreviewWindow::refresh);
    if (m_source) {
        connect(m_source, &ScriptMemo::Change, this, &DialogPreviewWindow::sourceChanged);
        // Until a table is found, the caret moving into one is enough to show it.
        connect(m_source, &ScriptMemo::caretMoved, this, [this] {
            if (!m_following)
                sourceChanged();
        });
        connect(m_source, &QObject::destroyed, this, &DialogPreviewWindow::sourceDestroyed);
        refresh();
    } else {
        showNoTable(u"Нет текста, из которого можно взять таблицу диалога"_qs);
    }
}

DialogPreviewWindow::~DialogPreviewWindow()
{
    // The drawn controls may use the classic style: they go first.
    delete m_canvas->takeWidget();
}

void DialogPreviewWindow::followDesignerCode(QPlainTextEdit *pending)
{
    m_designerCode = true;
    if (pending != m_pending) {
        if (m_pending)
            disconnect(m_pending, nullptr, this, nullptr);
        m_pending = pending;
        if (m_pending)
            connect(m_pending, &QPlainTextEdit::textChanged, this, &DialogPreviewWindow::sourceChanged);
    }
    refresh();
}

void DialogPreviewWindow::followTableAtCaret()
{
    if (m_source) {
        if (const std::optional<Span> around = tableAround(*m_source, m_source->CaretPos().y())) {
            m_following = true;
            m_followedName = around->name;
            m_lastHeaderLine = around->headerLine;
        }
    }
    refresh();
}

void DialogPreviewWindow::setPictureFolder(const QString &folder)
{
    m_pictureFolder = folder;
    refresh();
}

// Throttled rather than postponed: a burst of typing is redrawn every moment, not only at its end.
void DialogPreviewWindow::sourceChanged()
{
    if (!m_rereadTimer.isActive())
        m_rereadTimer.start();
}

void DialogPreviewWindow::sourceDestroyed()
{
    m_rereadTimer.stop();
    m_problems->clear();
    m_status->setText(u"Текст закрыт: предпросмотр больше не следит за ним"_qs);
}

// The table under the caret when it is the followed one (or the first one found); otherwise the
// followed table found by its name, near where it was (a search of the whole of a long text on
// every edit would slow typing); a table renamed under the caret is followed under its new name.
std::optional<Span> DialogPreviewWindow::followedSpan() const
{
    const LineSource &lines = *m_source;
    const std::optional<Span> around = tableAround(lines, m_source->CaretPos().y());
    if (!m_following)
        return around ? around : (m_designerCode ? firstTable(lines, kNameSearchReach) : std::nullopt);
    if (around && around->name.compare(m_followedName, Qt::CaseInsensitive) == 0)
        return around;
    if (const std::optional<Span> named = tableNamed(lines, m_followedName, m_lastHeaderLine, kNameSearchReach))
        return named;
    return around;
}

void DialogPreviewWindow::refresh()
{
    m_rereadTimer.stop();
    if (!m_source)
        return;
    const std::optional<Span> span = followedSpan();
    if (!span) {
        if (showPendingTable())
            return;
        if (m_following)
            showNoTable(u"Таблица диалога «%1» не найдена в тексте"_qs.arg(m_followedName));
        else if (m_designerCode)
            showNoTable(u"В коде ещё нет таблицы диалога: её начинает кнопка «Создать код Диалога»"_qs);
        else
            showNoTable(u"Курсор не стоит в таблице диалога: поставьте его между строкой «dialog имя {» и её «}»"_qs);
        return;
    }
    m_showingPending = false;
    m_following = true;
    m_followedName = span->name;
    m_lastHeaderLine = span->headerLine;
    showTable(readTable(*m_source, *span));
}

// The designer's component text, while the code holds no table yet: its table as it will stand in
// the code.
bool DialogPreviewWindow::showPendingTable()
{
    if (!m_pending)
        return false;
    const DocumentLines lines(m_pending->document());
    const std::optional<Span> span = firstTable(lines, kNameSearchReach);
    if (!span)
        return false;
    m_showingPending = true;
    showTable(readTable(lines, *span));
    return true;
}

void DialogPreviewWindow::showTable(const DialogModel &model)
{
    m_model = model;
    buildDialog();
    const QList<Problem> problems = DialogChecks::check(m_model, {.textEndClosesTable = m_designerCode});
    listProblems(problems);
    const int first = m_model.span.headerLine + 1, last = m_model.span.lastLine + 1;
    const QString where = m_showingPending
                              ? u"Диалог «%1» из исходного текста компонентов, ещё не вставленного в код "
                                u"(строки %2–%3)"_qs.arg(m_model.span.name).arg(first).arg(last)
                              : u"Диалог «%1», строки %2–%3"_qs.arg(m_model.span.name).arg(first).arg(last);
    const qsizetype errors = DialogChecks::countOf(problems, Severity::Error);
    const qsizetype warnings = DialogChecks::countOf(problems, Severity::Warning);
    QString status = errors + warnings == 0
                         ? where + u": ошибок не найдено"_qs
                         : where + u": найдено ошибок: %1, предупреждений: %2"_qs.arg(errors).arg(warnings);
    if (!m_drawnAll)
        status += u". Нарисованы только первые %1 элементов"_qs.arg(kMaxDrawnControls);
    m_status->setText(status);
}

void DialogPreviewWindow::showNoTable(const QString &why)
{
    m_model = DialogModel();
    buildDialog();
    listProblems({});
    m_status->setText(why);
}

QSize DialogPreviewWindow::clientSize() const
{
    QSize fit = kSmallestFit;
    for (const Control &control : m_model.controls) {
        if (!control.geometryKnown())
            continue;
        const QRect rect = Controls::pixelRect(m_model, control);
        fit = fit.expandedTo(QSize(rect.right() + 1 + kFitMargin, rect.bottom() + 1 + kFitMargin));
    }
    // -1 (mIRC's default size), a size left to the script and values worked out at opening time:
    // large enough for the controls.
    const int width = m_model.declaresWidth() ? Controls::pixelsX(m_model, m_model.width()) : fit.width();
    const int height = m_model.declaresHeight() ? Controls::pixelsY(m_model, m_model.height()) : fit.height();
    return QSize(width, height);
}

void DialogPreviewWindow::buildDialog()
{
    auto *frame = new QFrame;
    frame->setObjectName(u"dialogFrame"_qs);
    frame->setFrameStyle(QFrame::WinPanel | QFrame::Raised);
    frame->setBackgroundRole(QPalette::Window); // not the canvas's dark role
    auto *layout = new QVBoxLayout(frame);
    layout->setContentsMargins(3, 3, 3, 3);
    layout->setSpacing(0);
    layout->addWidget(buildTitleBar(frame));
    buildMenuBar(frame, layout);

    m_client = new QWidget(frame);
    m_client->setObjectName(u"dialogClient"_qs);
    m_client->setFixedSize(clientSize());
    m_client->setAutoFillBackground(true);
    QPalette palette = m_client->palette();
    palette.setColor(QPalette::Window, kDialogFace);
    m_client->setPalette(palette);
    m_client->setFont(FixedLayout::pixelFont(u"Tahoma"_qs, 11));
    layout->addWidget(m_client);
    buildControls();

    if (m_model.notheme) {
        if (!m_classicStyle)
            m_classicStyle.reset(QStyleFactory::create(u"Windows"_qs));
        if (m_classicStyle) {
            m_client->setStyle(m_classicStyle.get());
            for (QWidget *widget : m_client->findChildren<QWidget *>())
                widget->setStyle(m_classicStyle.get());
        }
    }
    frame->adjustSize();
    m_canvas->setWidget(frame); // frees the previous drawing
}

QWidget *DialogPreviewWindow::buildTitleBar(QWidget *frame)
{
    auto *bar = new QWidget(frame);
    bar->setObjectName(u"dialogTitleBar"_qs);
    bar->setFixedHeight(kTitleBarHeight);
    bar->setAutoFillBackground(true);
    QPalette palette = bar->palette();
    palette.setColor(QPalette::Window, kTitleBar);
    palette.setColor(QPalette::WindowText, Qt::white);
    bar->setPalette(palette);
    auto *layout = new QHBoxLayout(bar);
    layout->setContentsMargins(4, 0, 4, 0);
    const QString iconPath = Controls::picturePath(m_model.iconFile, m_pictureFolder);
    const QPixmap icon = !iconPath.isEmpty() && QFileInfo(iconPath).isFile() ? QPixmap(iconPath) : QPixmap();
    if (!icon.isNull()) {
        auto *iconLabel = new QLabel;
        iconLabel->setPixmap(icon.scaled(16, 16, Qt::KeepAspectRatio, Qt::SmoothTransformation));
        layout->addWidget(iconLabel);
    }
    auto *title = new QLabel(m_model.title);
    title->setObjectName(u"dialogTitle"_qs);
    QFont font = FixedLayout::pixelFont(u"Tahoma"_qs, 11, true);
    title->setFont(font);
    layout->addWidget(title, 1);
    auto *close = new QLabel(u"×"_qs);
    layout->addWidget(close);
    return bar;
}

// mIRC puts the table's menus into a menu bar above the client area.
void DialogPreviewWindow::buildMenuBar(QWidget *frame, QVBoxLayout *layout)
{
    QMenuBar *bar = nullptr;
    QHash<int, QMenu *> menus;
    for (const Control &control : std::as_const(m_model.controls)) {
        const bool enabled = !control.hasStyle(u"disable"_qs);
        if (control.kind == u"menu") {
            if (!bar)
                bar = new QMenuBar(frame);
            QMenu *parent = control.parentMenuGiven ? menus.value(control.parentMenu) : nullptr;
            QMenu *menu = parent ? parent->addMenu(control.text.text) : bar->addMenu(control.text.text);
            menu->setEnabled(enabled);
            if (control.id.isWhole())
                menus.insert(control.id.value, menu);
        } else if (control.kind == u"item") {
            QMenu *menu = menus.value(control.parentMenu);
            if (!menu)
                continue;
            if (control.isBreak)
                menu->addSeparator();
            else
                menu->addAction(control.text.text)->setEnabled(enabled);
        }
    }
    if (bar) {
        bar->setObjectName(u"dialogMenuBar"_qs);
        bar->setNativeMenuBar(false);
        layout->addWidget(bar);
    }
}

void DialogPreviewWindow::buildControls()
{
    const QList<Control> &controls = m_model.controls;
    m_widgets = QList<QWidget *>(controls.size(), nullptr);
    QList<QWidget *> tabControls;
    int drawn = 0;
    m_drawnAll = true;
    for (qsizetype i = 0; i < controls.size(); ++i) {
        const Control &control = controls.at(i);
        if (drawn == kMaxDrawnControls) {
            m_drawnAll = false;
            break;
        }
        ++drawn;
        if (control.kind == u"tab" && control.tabControl == i && control.geometryKnown()) {
            buildTabControl(int(i));
            tabControls.append(m_widgets.at(i));
            continue;
        }
        if (!drawnOnItsOwn(control))
            continue;
        QWidget *widget = Controls::create(m_model, control, m_client, m_pictureFolder);
        if (!widget)
            continue;
        widget->setObjectName(controlName(control));
        widget->setVisible(!control.hasStyle(u"hide"_qs));
        // Windows puts a dialog's first control on top: each later one goes below those before it.
        widget->lower();
        m_widgets[i] = widget;
    }
    // The pages' controls stand on their tab controls.
    for (QWidget *tabs : std::as_const(tabControls))
        tabs->lower();
    for (QWidget *tabs : std::as_const(tabControls)) {
        auto *tabWidget = static_cast<QTabWidget *>(tabs);
        showTabPage(int(m_widgets.indexOf(tabs)), tabWidget->currentIndex());
    }
}

void DialogPreviewWindow::buildTabControl(int first)
{
    const Control &control = m_model.controls.at(first);
    auto *tabs = new QTabWidget(m_client);
    tabs->setObjectName(controlName(control));
    tabs->setGeometry(Controls::pixelRect(m_model, control));
    for (const Control &page : std::as_const(m_model.controls)) {
        if (page.kind == u"tab" && page.tabControl == first) {
            auto *pageWidget = new QWidget;
            pageWidget->setAttribute(Qt::WA_TransparentForMouseEvents);
            tabs->addTab(pageWidget, page.text.text);
        }
    }
    tabs->setEnabled(!control.hasStyle(u"disable"_qs));
    tabs->setVisible(!control.hasStyle(u"hide"_qs));
    tabs->setFocusPolicy(Qt::NoFocus);
    tabs->tabBar()->setFocusPolicy(Qt::NoFocus);
    const int shown = m_shownPages.value(control.id.value, 0);
    if (shown < tabs->count())
        tabs->setCurrentIndex(shown);
    // Clicking a tab shows its page, as it would in mIRC; nothing else in the preview reacts.
    connect(tabs, &QTabWidget::currentChanged, this, [this, first](int page) { showTabPage(first, page); });
    m_widgets[first] = tabs;
}

void DialogPreviewWindow::showTabPage(int tabControl, int pageIndex)
{
    const QList<Control> &controls = m_model.controls;
    if (tabControl < 0 || tabControl >= controls.size())
        return;
    QList<int> pageIds;
    for (const Control &page : controls) {
        if (page.kind == u"tab" && page.tabControl == tabControl)
            pageIds.append(page.id.isWhole() ? page.id.value : -1);
    }
    const int shownId = pageIds.value(pageIndex, -1);
    m_shownPages.insert(controls.at(tabControl).id.value, pageIndex);
    for (qsizetype i = 0; i < controls.size(); ++i) {
        const int page = controls.at(i).tabPage();
        if (page < 0 || !pageIds.contains(page) || !m_widgets.at(i))
            continue;
        m_widgets.at(i)->setVisible(page == shownId && !controls.at(i).hasStyle(u"hide"_qs));
    }
}

void DialogPreviewWindow::listProblems(const QList<Problem> &problems)
{
    static const QStyle::StandardPixmap icons[] = {QStyle::SP_MessageBoxCritical, QStyle::SP_MessageBoxWarning,
                                                   QStyle::SP_MessageBoxInformation};
    m_problems->clear();
    for (const Problem &problem : problems) {
        auto *item = new QListWidgetItem(u"Строка %1: %2"_qs.arg(problem.line + 1).arg(problem.reason), m_problems);
        item->setIcon(style()->standardIcon(icons[int(problem.severity)]));
        item->setData(Qt::UserRole, problem.line);
        item->setData(kSeverityRole, int(problem.severity));
    }
}

void DialogPreviewWindow::problemClicked(QListWidgetItem *item)
{
    if (!item)
        return;
    putCaretOnLine(item->data(Qt::UserRole).toInt());
}

// The caret to the start of the line in the text that holds the shown table, and the keyboard to
// that text, so that the user types there at once.
void DialogPreviewWindow::putCaretOnLine(int line)
{
    QWidget *text = nullptr;
    if (m_showingPending && m_pending) {
        line = qBound(0, line, qMax(0, m_pending->document()->blockCount() - 1));
        QTextCursor cursor(m_pending->document()->findBlockByNumber(line));
        m_pending->setTextCursor(cursor);
        text = m_pending;
    } else if (m_source) {
        line = qBound(0, line, qMax(0, m_source->lineCount() - 1));
        m_source->setSelStart(m_source->lineStartOffset(line));
        text = m_source;
    } else {
        return;
    }
    text->window()->activateWindow();
    text->setFocus(Qt::OtherFocusReason);
    emit problemLineChosen(line);
}

DialogPreviewWindow *showDialogPreview(ScriptMemo *source, QWidget *owner)
{
    DialogPreviewWindow *window = nullptr;
    if (owner) {
        for (DialogPreviewWindow *open : owner->findChildren<DialogPreviewWindow *>(Qt::FindDirectChildrenOnly)) {
            if (open->source() == source)
                window = open;
        }
    }
    if (window)
        window->followTableAtCaret();
    else
        window = new DialogPreviewWindow(source, owner);
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}
