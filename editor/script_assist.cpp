#include "editor/script_assist.h"

#include "editor/script_memo.h"
#include "language/brace_scan.h"

#include <QApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QListWidget>
#include <QPainter>
#include <QPaintEvent>
#include <QScreen>
#include <QShortcut>
#include <QToolTip>

#include <array>

namespace {

// Shown after the caret has rested this long on a known word.
constexpr int kTipDelayMs = 700;
// Completion opens by itself once a command's name has this many characters (an identifier's
// after "$", an event's, one).
constexpr int kCommandPrefixLength = 2;

using Formats = std::array<QTextCharFormat, kTokenKindCount>;

const Formats &formatsFor(ScriptPalette palette)
{
    static const auto build = [](ScriptPalette p) {
        Formats formats;
        for (int kind = 0; kind < kTokenKindCount; ++kind) {
            const TokenStyle style = ScriptColours::style(TokenKind(kind), p);
            QTextCharFormat &format = formats[kind];
            format.setForeground(style.foreground);
            if (style.background.isValid())
                format.setBackground(style.background);
            if (style.bold)
                format.setFontWeight(QFont::Bold);
            format.setFontItalic(style.italic);
        }
        return formats;
    };
    static const Formats light = build(ScriptPalette::Light);
    static const Formats dark = build(ScriptPalette::Dark);
    return palette == ScriptPalette::Dark ? dark : light;
}

ScriptMemo::LineStyle styleLine(const QString &text, int startState, ScriptPalette palette)
{
    QList<ScriptToken> tokens;
    const LexerState end = ScriptLexer::classifyLine(text, LexerState::unpacked(startState), &tokens);
    const Formats &formats = formatsFor(palette);
    ScriptMemo::LineStyle style;
    style.marks.reserve(tokens.size());
    for (const ScriptToken &token : tokens)
        style.marks.append({token.start, token.length, formats[int(token.kind)]});
    style.endState = end.packed();
    return style;
}

} // namespace

ScriptAssist::ScriptAssist(ScriptMemo *memo) : QObject(memo), m_memo(memo), m_viewport(memo->viewport())
{
    m_palette = ScriptColours::paletteFor(memo->palette().color(QPalette::Base));
    connect(memo, &ScriptMemo::Change, this, &ScriptAssist::updateHighlighting);
    connect(memo, &ScriptMemo::caretMoved, this, &ScriptAssist::markBrackets);
    connect(memo, &ScriptMemo::caretMoved, this, [this] {
        m_tipTimer.start();
        followCaret();
    });
    connect(memo, &ScriptMemo::typed, this, &ScriptAssist::textTyped);

    auto *complete = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Space), memo);
    complete->setContext(Qt::WidgetShortcut);
    connect(complete, &QShortcut::activated, this, [this] { showCompletion(true); });

    // mIRC's keys for its formatting codes, as its own editor has them (its Ctrl+K for colour is the
    // colour picker here, and Ctrl+O opens files, so plain text is Ctrl+Shift+O).
    const struct {
        QKeySequence keys;
        char16_t code;
    } formatting[] = {
        {QKeySequence(Qt::CTRL | Qt::Key_B), 0x02},           // bold
        {QKeySequence(Qt::CTRL | Qt::Key_U), 0x1F},           // underline
        {QKeySequence(Qt::CTRL | Qt::Key_R), 0x16},           // reverse
        {QKeySequence(Qt::CTRL | Qt::Key_I), 0x1D},           // italic
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O), 0x0F}, // plain
    };
    for (const auto &format : formatting) {
        auto *shortcut = new QShortcut(format.keys, memo);
        shortcut->setContext(Qt::WidgetShortcut);
        const QChar code(format.code);
        connect(shortcut, &QShortcut::activated, this, [this, code] { insertFormattingCode(code); });
    }

    m_tipTimer.setSingleShot(true);
    m_tipTimer.setInterval(kTipDelayMs);
    connect(&m_tipTimer, &QTimer::timeout, this, &ScriptAssist::showTipAtCaret);

    // The list does not take the keyboard: typing goes on in the text, and the text's keys that
    // move in the list are caught by the filter below while it shows.
    m_completions = new QListWidget(memo);
    m_completions->setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint);
    m_completions->setAttribute(Qt::WA_ShowWithoutActivating);
    m_completions->setFocusPolicy(Qt::NoFocus);
    m_completions->setUniformItemSizes(true);
    m_completions->setAccessibleName(QStringLiteral("Подсказки"));
    connect(m_completions, &QListWidget::itemClicked, this,
            [this](QListWidgetItem *item) { acceptCompletion(m_completions->row(item)); });

    memo->installEventFilter(this);
    m_viewport->installEventFilter(this);
    updateHighlighting();
}

ScriptAssist::~ScriptAssist()
{
    // The list is the text control's child, so that it shows over it; it goes with the assistant.
    delete m_completions;
}

// A code at the caret; a selection is kept and wrapped in the code pair (bold, underline,
// reverse, italic), or, for plain, is kept with the code before it.
void ScriptAssist::insertFormattingCode(QChar code)
{
    if (m_memo->isReadOnly())
        return;
    const QString selected = m_memo->SelText();
    if (selected.isEmpty()) {
        m_memo->setSelText(QString(code));
        return;
    }
    const bool pair = code != QChar(0x0F);
    const qsizetype start = m_memo->SelStart();
    m_memo->setSelText(code + selected + (pair ? QString(code) : QString()));
    m_memo->setSelection(start + 1, m_memo->caretOffset() - (pair ? 1 : 0));
}

void ScriptAssist::updateHighlighting()
{
    const bool wanted = m_memo->textLength() <= kHighlightLimit;
    if (wanted == m_highlighting && m_memo->hasLineStyler() == wanted)
        return;
    m_highlighting = wanted;
    if (wanted) {
        const ScriptPalette palette = m_palette;
        m_memo->setLineStyler([palette](const QString &text, int state) { return styleLine(text, state, palette); },
                              LexerState{}.packed());
    } else {
        m_memo->setLineStyler({});
    }
    emit highlightingChanged(wanted);
}

namespace {

// A long line (a binary file's, a minified script's) is no script line: nothing is looked up in it,
// which would cost a reading of the whole line at every key.
bool isLongLine(const ScriptMemo *memo, int line)
{
    return memo->lineLength(line) > ScriptMemo::kLongLine;
}

} // namespace

void ScriptAssist::markBrackets()
{
    const qsizetype caret = m_memo->caretOffset();
    const int line = m_memo->lineOfOffset(caret);
    if (isLongLine(m_memo, line)) {
        m_memo->setHighlights({});
        return;
    }
    const QString text = m_memo->line(line);
    const int column = int(caret - m_memo->lineStartOffset(line));
    QList<ScriptMemo::Highlight> marks;
    const int bracket = BraceScan::bracketBesideCaret(text, column);
    if (bracket >= 0 && !LexerState::unpacked(m_memo->lineStartState(line)).inBlockComment()) {
        const BracketMatch match = BraceScan::findPartner(*m_memo, line, bracket);
        const bool dark = m_palette == ScriptPalette::Dark;
        const QColor matched = dark ? QColor(0x2F, 0x5F, 0x3F) : QColor(0xB8, 0xE6, 0xC0);
        const QColor unmatched = dark ? QColor(0x8B, 0x1A, 0x1A) : QColor(0xFF, 0xA8, 0xA8);
        const qsizetype at = m_memo->lineStartOffset(line) + bracket;
        if (match.status == BracketMatch::Matched) {
            marks.append({at, 1, matched});
            marks.append({m_memo->lineStartOffset(match.line) + match.column, 1, matched});
        } else if (match.status == BracketMatch::Unmatched) {
            marks.append({at, 1, unmatched});
        }
    }
    m_memo->setHighlights(marks);
}

TypedWord ScriptAssist::typedWord() const
{
    const qsizetype caret = m_memo->caretOffset();
    const int line = m_memo->lineOfOffset(caret);
    if (isLongLine(m_memo, line))
        return {};
    const LexerState state = m_highlighting ? LexerState::unpacked(m_memo->lineStartState(line)) : LexerState{};
    return Completion::wordAtCaret(m_memo->line(line), int(caret - m_memo->lineStartOffset(line)), state);
}

void ScriptAssist::textTyped(const QString &text)
{
    QToolTip::hideText();
    if (text.contains(QLatin1Char('\n')) || m_memo->SelLength() > 0) {
        hideCompletion();
        return;
    }
    if (completionShown())
        return; // the caret's move has refiltered it already
    const TypedWord word = typedWord();
    const int wanted = word.context == TypedWord::Command ? kCommandPrefixLength : 1;
    if (word.context == TypedWord::None || word.prefix.size() < wanted) {
        hideCompletion();
        return;
    }
    showCompletion(false);
}

void ScriptAssist::showCompletion(bool selectFirst)
{
    m_explicitCompletion = selectFirst;
    if (!fillCompletion(typedWord(), QString(), selectFirst)) {
        hideCompletion();
        return;
    }
    placeCompletionList();
    // The list's keys (Tab among them) come here before any other filter on the text: the last
    // filter installed sees an event first, and installing again moves this one to the front.
    m_memo->installEventFilter(this);
    m_completions->show();
}

// The list offers the entries for word; keep stays chosen where it is offered still, else the
// first entry where selectFirst. False where there is nothing to offer, or only the word already
// typed in full.
bool ScriptAssist::fillCompletion(const TypedWord &word, const QString &keep, bool selectFirst)
{
    const QList<const VocabularyEntry *> entries = Completion::candidates(word);
    if (entries.isEmpty()
        || (!m_explicitCompletion && entries.size() == 1
            && entries.first()->name.compare(word.prefix, Qt::CaseInsensitive) == 0))
        return false;
    m_completedWord = word;
    m_completedLine = m_memo->lineOfOffset(m_memo->caretOffset());
    m_completions->clear();
    const QString sigil = word.context == TypedWord::Identifier ? QStringLiteral("$") : QString();
    int chosen = selectFirst ? 0 : -1;
    for (const VocabularyEntry *entry : entries) {
        if (entry->name == keep)
            chosen = m_completions->count();
        auto *item = new QListWidgetItem(sigil + entry->name, m_completions);
        item->setData(Qt::UserRole, entry->name);
        item->setToolTip(entry->tipLines().join(QLatin1Char('\n')));
    }
    m_completions->setCurrentRow(chosen);
    return true;
}

// The list follows every change and caret move: it offers what fits the word now at the caret,
// and closes when the caret leaves the word it was opened for.
void ScriptAssist::followCaret()
{
    if (!completionShown())
        return;
    const TypedWord word = typedWord();
    const bool sameWord = word.context == m_completedWord.context && word.start == m_completedWord.start
        && m_memo->lineOfOffset(m_memo->caretOffset()) == m_completedLine;
    if (!sameWord || m_memo->SelLength() > 0 || (word.prefix.isEmpty() && !m_explicitCompletion)) {
        hideCompletion();
        return;
    }
    QListWidgetItem *current = m_completions->currentItem();
    const QString keep = current ? current->data(Qt::UserRole).toString() : QString();
    if (!fillCompletion(word, keep, current != nullptr)) {
        hideCompletion();
        return;
    }
    placeCompletionList();
}

void ScriptAssist::placeCompletionList()
{
    // Under the word's start, so that it stays put while the word is typed.
    const qsizetype wordStart = m_memo->lineStartOffset(m_completedLine) + qMax(0, m_completedWord.start);
    const QRect caret = m_memo->offsetRect(wordStart);
    const int rowHeight = m_completions->sizeHintForRow(0);
    const int rows = qMin(8, m_completions->count());
    const int width = qMax(160, m_completions->sizeHintForColumn(0) + 24);
    QPoint at = m_memo->viewport()->mapToGlobal(caret.bottomLeft() + QPoint(0, 2));
    if (const QScreen *screen = m_memo->screen()) {
        const QRect room = screen->availableGeometry();
        if (at.y() + rows * rowHeight + 4 > room.bottom())
            at.setY(m_memo->viewport()->mapToGlobal(caret.topLeft()).y() - rows * rowHeight - 6);
        at.setX(qMin(at.x(), room.right() - width));
    }
    m_completions->setGeometry(QRect(at, QSize(width, rows * rowHeight + 4)));
}

bool ScriptAssist::completionShown() const
{
    return m_completions->isVisible();
}

QStringList ScriptAssist::completionNames() const
{
    QStringList names;
    for (int i = 0; i < m_completions->count(); ++i)
        names.append(m_completions->item(i)->text());
    return names;
}

void ScriptAssist::hideCompletion()
{
    m_completions->hide();
}

void ScriptAssist::acceptCompletion(int row)
{
    QListWidgetItem *item = m_completions->item(row);
    hideCompletion();
    // The word now at the caret is replaced, whatever happened to the text since the list opened.
    const TypedWord word = typedWord();
    if (!item || word.context == TypedWord::None || m_memo->isReadOnly())
        return;
    const qsizetype lineStart = m_memo->lineStartOffset(m_memo->lineOfOffset(m_memo->caretOffset()));
    m_memo->setSelection(lineStart + word.start, lineStart + word.start + word.length);
    m_memo->setSelText(item->data(Qt::UserRole).toString());
}

QStringList ScriptAssist::tipRowsAt(qsizetype offset) const
{
    const int line = m_memo->lineOfOffset(offset);
    if (isLongLine(m_memo, line))
        return {};
    const LexerState state = m_highlighting ? LexerState::unpacked(m_memo->lineStartState(line)) : LexerState{};
    return Completion::tipRows(m_memo->line(line), int(offset - m_memo->lineStartOffset(line)), state);
}

void ScriptAssist::showTipAtCaret()
{
    if (!m_memo->hasFocus() || completionShown() || m_memo->SelLength() > 0)
        return;
    const QStringList rows = tipRowsAt(m_memo->caretOffset());
    if (rows.isEmpty())
        return;
    const QRect caret = m_memo->offsetRect(m_memo->caretOffset());
    QToolTip::showText(m_memo->viewport()->mapToGlobal(caret.bottomLeft()), rows.join(QLatin1Char('\n')),
                       m_memo->viewport());
}

// Each of mIRC's formatting codes shows its letter on its plate (B, U, R, I, O), drawn over the
// text control's own picture of the character, which is the same box for all of them.
void ScriptAssist::paintControlLetters(const QRect &area)
{
    QPainter painter(m_memo->viewport());
    const TokenStyle style = ScriptColours::style(TokenKind::ControlCode, m_palette);
    QFont font = m_memo->font();
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(style.foreground);
    const QFontMetrics metrics(font);
    const int lastLine = m_memo->lineOfOffset(m_memo->offsetAt(area.bottomRight()));
    for (int line = m_memo->lineOfOffset(m_memo->offsetAt(area.topLeft())); line <= lastLine; ++line) {
        if (isLongLine(m_memo, line))
            continue;
        const qsizetype start = m_memo->lineStartOffset(line);
        const QString text = m_memo->line(line);
        for (int column = 0; column < text.size(); ++column) {
            const QChar letter = ScriptColours::controlCodeLetter(text[column]);
            if (letter.isNull())
                continue;
            const QRect at = m_memo->offsetRect(start + column);
            const QRect next = m_memo->offsetRect(start + column + 1);
            const int width = next.top() == at.top() && next.left() > at.left()
                ? next.left() - at.left()
                : metrics.horizontalAdvance(QChar(0x2400 + text[column].unicode()));
            // A pixel of the text control's plate shows at each side, so that a caret there stays visible.
            const QRect plate(at.left() + 1, at.top(), qMax(1, width - 2), at.height());
            if (!plate.intersects(area))
                continue;
            painter.fillRect(plate, style.background);
            painter.drawText(plate, Qt::AlignCenter, QString(letter));
        }
    }
}

bool ScriptAssist::eventFilter(QObject *watched, QEvent *event)
{
    // The text control's own members are reached only for the events handled here: others also
    // come while the control is being taken down.
    if (watched == m_viewport && event->type() == QEvent::Paint && m_highlighting && !m_painting) {
        // The text control paints first, then the letters go on top.
        m_painting = true;
        QCoreApplication::sendEvent(watched, event);
        m_painting = false;
        paintControlLetters(static_cast<QPaintEvent *>(event)->rect());
        return true;
    }
    if (watched == m_viewport && event->type() == QEvent::ToolTip) {
        const auto *help = static_cast<QHelpEvent *>(event);
        const QStringList rows = tipRowsAt(m_memo->offsetAt(help->pos()));
        if (rows.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), rows.join(QLatin1Char('\n')), m_memo->viewport());
        return true;
    }
    if (watched == m_memo && event->type() == QEvent::FocusOut) {
        hideCompletion();
        return false;
    }
    if (watched != m_memo || event->type() != QEvent::KeyPress || !completionShown())
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    const int row = m_completions->currentRow();
    switch (key->key()) {
    case Qt::Key_Down:
        m_completions->setCurrentRow(qMin(row + 1, m_completions->count() - 1));
        return true;
    case Qt::Key_Up:
        m_completions->setCurrentRow(qMax(row - 1, 0));
        return true;
    case Qt::Key_PageDown:
        m_completions->setCurrentRow(qMin(row + 8, m_completions->count() - 1));
        return true;
    case Qt::Key_PageUp:
        m_completions->setCurrentRow(qMax(row - 8, 0));
        return true;
    case Qt::Key_Escape:
        hideCompletion();
        return true;
    case Qt::Key_Tab:
        // Tab takes the chosen entry, or the first: it never leaves the text while the list shows.
        if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
            return false;
        acceptCompletion(qMax(row, 0));
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Only an entry the user picked is taken; otherwise the key does what it always does.
        if (row >= 0) {
            acceptCompletion(row);
            return true;
        }
        hideCompletion();
        return false;
    default:
        return false;
    }
}
