#include "editor/script_memo.h"

#include "editor/script_text.h"
#include "editor/win1251_codec.h"

#include <QDropEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextBlock>

namespace {

QList<QKeySequence> &reservedShortcuts()
{
    static QList<QKeySequence> shortcuts;
    return shortcuts;
}

bool allEncodable(const QString &text)
{
    for (QChar c : text) {
        if (!Win1251::isEncodable(c))
            return false;
    }
    return true;
}

} // namespace

// Holds back the Change signal while one command makes several edits, then signals once.
class ScriptMemo::CompoundChange {
public:
    explicit CompoundChange(ScriptMemo *memo) : m_memo(memo) { ++m_memo->m_compoundDepth; }
    ~CompoundChange()
    {
        if (--m_memo->m_compoundDepth == 0 && m_memo->m_changedInCompound) {
            m_memo->m_changedInCompound = false;
            emit m_memo->Change();
        }
    }

private:
    ScriptMemo *m_memo;
};

ScriptMemo::ScriptMemo(QWidget *parent) : QPlainTextEdit(parent)
{
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setTabChangesFocus(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    connect(this, &QPlainTextEdit::textChanged, this, &ScriptMemo::documentChanged);
}

void ScriptMemo::setReservedShortcuts(const QList<QKeySequence> &shortcuts)
{
    reservedShortcuts() = shortcuts;
}

void ScriptMemo::documentChanged()
{
    if (m_compoundDepth > 0)
        m_changedInCompound = true;
    else
        emit Change();
}

qsizetype ScriptMemo::offsetOfPosition(int position) const
{
    return position + document()->findBlock(position).blockNumber();
}

int ScriptMemo::positionOfOffset(qsizetype offset) const
{
    const QTextDocument *doc = document();
    offset = qBound<qsizetype>(0, offset, textLength());
    // The last block whose start offset (its position plus one for each earlier line break) is <= offset.
    int lo = 0;
    int hi = doc->blockCount() - 1;
    while (lo < hi) {
        const int mid = lo + (hi - lo + 1) / 2;
        if (doc->findBlockByNumber(mid).position() + mid <= offset)
            lo = mid;
        else
            hi = mid - 1;
    }
    const QTextBlock block = doc->findBlockByNumber(lo);
    const qsizetype column = offset - (block.position() + lo);
    return block.position() + int(qMin<qsizetype>(column, block.length() - 1));
}

qsizetype ScriptMemo::textLength() const
{
    const QTextDocument *doc = document();
    return doc->characterCount() - 1 + (doc->blockCount() - 1);
}

qsizetype ScriptMemo::SelStart() const
{
    return offsetOfPosition(textCursor().selectionStart());
}

qsizetype ScriptMemo::SelLength() const
{
    const QTextCursor cursor = textCursor();
    return offsetOfPosition(cursor.selectionEnd()) - offsetOfPosition(cursor.selectionStart());
}

void ScriptMemo::setSelStart(qsizetype offset)
{
    QTextCursor cursor = textCursor();
    cursor.setPosition(positionOfOffset(offset));
    setTextCursor(cursor);
}

void ScriptMemo::setSelLength(qsizetype length)
{
    const qsizetype start = SelStart();
    QTextCursor cursor = textCursor();
    cursor.setPosition(positionOfOffset(start));
    cursor.setPosition(positionOfOffset(start + qMax<qsizetype>(0, length)), QTextCursor::KeepAnchor);
    setTextCursor(cursor);
    ensureCursorVisible();
}

QString ScriptMemo::SelText() const
{
    QString text = textCursor().selectedText();
    text.replace(QChar::ParagraphSeparator, ScriptText::kCrLf);
    return text;
}

void ScriptMemo::setSelText(const QString &text)
{
    CompoundChange change(this);
    QTextCursor cursor = textCursor();
    cursor.insertText(Win1251::sanitized(text));
    setTextCursor(cursor);
}

QPoint ScriptMemo::CaretPos() const
{
    const int position = textCursor().selectionEnd();
    const QTextBlock block = document()->findBlock(position);
    return QPoint(position - block.position(), block.blockNumber());
}

int ScriptMemo::lineCount() const
{
    return document()->blockCount();
}

QString ScriptMemo::line(int index) const
{
    return document()->findBlockByNumber(index).text();
}

void ScriptMemo::setLine(int index, const QString &text)
{
    const QTextBlock block = document()->findBlockByNumber(index);
    if (!block.isValid())
        return;
    CompoundChange change(this);
    QTextCursor cursor(block);
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    cursor.insertText(Win1251::sanitized(text));
}

void ScriptMemo::clearLines()
{
    CompoundChange change(this);
    QTextCursor cursor(document());
    cursor.select(QTextCursor::Document);
    cursor.removeSelectedText();
}

void ScriptMemo::appendAsLine(const QString &text)
{
    CompoundChange change(this);
    QTextDocument *doc = document();
    QTextCursor cursor(doc);
    cursor.movePosition(QTextCursor::End);
    const QString clean = Win1251::sanitized(text);
    const bool endsWithBreak = doc->lastBlock().length() == 1; // empty last line
    cursor.insertText(endsWithBreak ? clean + QLatin1Char('\n') : QLatin1Char('\n') + clean);
    setTextCursor(cursor);
    ensureCursorVisible();
}

void ScriptMemo::replaceRanges(const QList<Range> &ranges, const QString &text)
{
    if (ranges.isEmpty())
        return;
    CompoundChange change(this);
    const QString clean = Win1251::sanitized(text);
    QTextCursor editor(document());
    QTextCursor afterLast;
    editor.beginEditBlock();
    // From the last range back, so that the positions of the ranges still to do stay valid;
    // afterLast moves along as the earlier ranges change length.
    for (auto range = ranges.crbegin(); range != ranges.crend(); ++range) {
        editor.setPosition(range->position);
        editor.setPosition(range->position + range->length, QTextCursor::KeepAnchor);
        editor.insertText(clean);
        if (afterLast.isNull())
            afterLast = QTextCursor(editor);
    }
    editor.endEditBlock();
    afterLast.clearSelection();
    setTextCursor(afterLast);
    ensureCursorVisible();
}

namespace {

// Texts are loaded and saved in pieces of this many characters, so progress can be shown between them.
constexpr qsizetype kPieceSize = qsizetype(1) << 21;

} // namespace

void ScriptMemo::loadText(const QString &textWithLf, const Progress &progress)
{
    CompoundChange change(this);
    QTextDocument *doc = document();
    doc->setUndoRedoEnabled(false);
    clear();
    QTextCursor cursor(doc);
    qsizetype done = 0;
    while (done < textWithLf.size()) {
        // Pieces end at a line break, so no line is split between two insertions.
        qsizetype end = qMin(textWithLf.size(), done + kPieceSize);
        if (end < textWithLf.size()) {
            const qsizetype lineEnd = textWithLf.indexOf(QLatin1Char('\n'), end);
            end = lineEnd < 0 ? textWithLf.size() : lineEnd + 1;
        }
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(QStringView(textWithLf).mid(done, end - done).toString());
        done = end;
        if (progress)
            progress(done, textWithLf.size());
    }
    doc->setUndoRedoEnabled(true);
    moveCursor(QTextCursor::Start);
    doc->setModified(false);
}

QByteArray ScriptMemo::fileBytes(const Progress &progress) const
{
    // One pass over the raw text, in which line breaks are paragraph separators.
    const QString raw = document()->toRawText();
    QByteArray bytes(raw.size() + document()->blockCount() - 1, Qt::Uninitialized);
    char *out = bytes.data();
    for (qsizetype start = 0; start < raw.size(); start += kPieceSize) {
        for (QChar c : QStringView(raw).mid(start, kPieceSize)) {
            if (c == QChar::ParagraphSeparator) {
                *out++ = '\r';
                *out++ = '\n';
            } else {
                *out++ = Win1251::fromUnicode(c);
            }
        }
        if (progress)
            progress(qMin(raw.size(), start + kPieceSize), raw.size());
    }
    bytes.truncate(out - bytes.constData());
    return bytes;
}

QString ScriptMemo::wholeText() const
{
    QString text = document()->toRawText();
    text.replace(QChar::ParagraphSeparator, ScriptText::kCrLf);
    return text;
}

bool ScriptMemo::Modified() const
{
    return document()->isModified();
}

void ScriptMemo::setModified(bool modified)
{
    document()->setModified(modified);
}

bool ScriptMemo::event(QEvent *event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const QKeySequence pressed(key->keyCombination());
        if (reservedShortcuts().contains(pressed)) {
            event->ignore();
            return true;
        }
    }
    return QPlainTextEdit::event(event);
}

void ScriptMemo::keyPressEvent(QKeyEvent *event)
{
    // Tab only moves the focus; it never becomes text.
    if ((event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab)
        && !(event->modifiers() & Qt::ControlModifier)) {
        event->ignore();
        return;
    }
    const QString text = event->text();
    if (!text.isEmpty() && !allEncodable(text) && !(event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier))) {
        insertPlainText(Win1251::sanitized(text));
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void ScriptMemo::inputMethodEvent(QInputMethodEvent *event)
{
    if (allEncodable(event->commitString())) {
        QPlainTextEdit::inputMethodEvent(event);
        return;
    }
    QInputMethodEvent clean(event->preeditString(), event->attributes());
    clean.setCommitString(Win1251::sanitized(event->commitString()), event->replacementStart(),
                          event->replacementLength());
    QPlainTextEdit::inputMethodEvent(&clean);
}

void ScriptMemo::insertFromMimeData(const QMimeData *source)
{
    if (source && source->hasText()) {
        CompoundChange change(this);
        insertPlainText(Win1251::sanitized(source->text()));
        ensureCursorVisible();
    }
}

void ScriptMemo::dropEvent(QDropEvent *event)
{
    QStringList files;
    if (event->mimeData()->hasUrls()) {
        for (const QUrl &url : event->mimeData()->urls()) {
            if (url.isLocalFile())
                files.append(url.toLocalFile());
        }
    }
    if (files.isEmpty()) {
        QPlainTextEdit::dropEvent(event);
        return;
    }
    event->acceptProposedAction();
    // Ends the drag's drop caret as a finished drop would.
    QDragLeaveEvent leave;
    QPlainTextEdit::dragLeaveEvent(&leave);
    emit filesDropped(files);
}
