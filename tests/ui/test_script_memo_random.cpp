// The editor's text control in its window, driven at random through its public operations and real
// key, mouse and wheel events, and compared after every step with a plain model: the CR LF string,
// the caret, the anchor, the modified flag and the texts undo may go back to. Painting and
// scrolling come in between. In a Windows-1251 text and in a UTF-8 one. A few seconds each by
// default; ORL_MEMO_CHECK_SECONDS runs it longer (the sanitizer build does), ORL_MEMO_CHECK_SEED
// repeats one run.
#include "app/main_window.h"
#include "common/field_text.h"
#include "common/utf8_codec.h"
#include "editor/find_replace_dialogs.h"
#include "editor/script_assist.h"
#include "editor/script_editor_window.h"
#include "editor/script_memo.h"
#include "support/program_test.h"
#include "support/replace_all_oracle.h"
#include "support/test_env.h"

#include <QCheckBox>
#include <QClipboard>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QStyleHints>
#include <QWheelEvent>
#include <QtTest>

#include <deque>
#include <functional>

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// Lone CR and lone LF become CR LF; in Windows-1251 a character the code page lacks becomes "?".
QString asEditorText(const QString &text, ScriptEncoding encoding)
{
    QString result;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\r' || c == u'\n') {
            result += kCrLf;
            if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
                ++i;
        } else {
            result += c;
        }
    }
    return FieldText::held(result, ScriptText::isUtf8(encoding) ? FieldText::Repertoire::Unicode
                                                                  : FieldText::Repertoire::Windows1251);
}

// The length of the character at i: two for a surrogate pair.
qsizetype characterLength(QStringView text, qsizetype i)
{
    return i + 1 < text.size() && text.at(i).isHighSurrogate() && text.at(i + 1).isLowSurrogate() ? 2 : 1;
}

// What a key or a one-line field gives: no line breaks, tabs or formatting codes.
QString printable(QString text)
{
    for (QChar control : {u'\r', u'\n', u'\t', u'\x02', u'\x03'})
        text.remove(control);
    return text;
}

// What the text control is expected to hold.
struct Model {
    QString text;
    qsizetype anchor = 0;
    qsizetype caret = 0;
    bool modified = false;
    // Every text since the last load, the current one at historyAt: undo goes back among them.
    QStringList history{QString()};
    qsizetype historyAt = 0;
    // The texts undo left, the latest last: redo comes back to them in turn.
    QStringList undone;

    qsizetype selStart() const { return qMin(anchor, caret); }
    qsizetype selLength() const { return qAbs(caret - anchor); }

    // An edit: the caret ends after what went in; a change leaves redo nothing.
    void edit(qsizetype start, qsizetype length, const QString &inserted)
    {
        anchor = caret = start + inserted.size();
        if (length == 0 && inserted.isEmpty())
            return;
        text.replace(start, length, inserted);
        changed();
    }
    void replaceSelection(const QString &inserted) { edit(selStart(), selLength(), inserted); }
    void changed()
    {
        modified = true;
        history = history.mid(0, historyAt + 1);
        history.append(text);
        historyAt = history.size() - 1;
        undone.clear();
    }
    void loaded(const QString &loadedText)
    {
        text = loadedText;
        anchor = caret = 0;
        modified = false;
        history = QStringList{text};
        historyAt = 0;
        undone.clear();
    }

    int lineOf(qsizetype offset) const { return int(QStringView(text).left(offset).count(kCrLf)); }
    qsizetype lineStart(int line) const
    {
        qsizetype at = 0;
        for (int i = 0; i < line; ++i)
            at = text.indexOf(kCrLf, at) + 2;
        return at;
    }
    // The character before or after an offset, a line break and a surrogate pair counting as one.
    qsizetype previousCharacter(qsizetype at) const
    {
        if (at >= 2 && (QStringView(text).sliced(at - 2, 2) == kCrLf || text.at(at - 1).isLowSurrogate()))
            return at - 2;
        return qMax<qsizetype>(0, at - 1);
    }
    qsizetype nextCharacter(qsizetype at) const
    {
        return QStringView(text).sliced(at).startsWith(kCrLf) ? at + 2 : qMin(text.size(), at + characterLength(text, at));
    }
    bool isCaretPlace(qsizetype at) const
    {
        const bool inside = at > 0 && at < text.size()
            && ((text.at(at - 1) == u'\r' && text.at(at) == u'\n') || text.at(at).isLowSurrogate());
        return at >= 0 && at <= text.size() && !inside;
    }
};

class Driver {
public:
    Driver(TForm2 *editor, quint32 seed, ScriptEncoding encoding)
        : m_editor(editor), m_memo(editor->Memo1), m_random(seed), m_encoding(encoding)
    {
        // A new window is Windows-1251; its empty text is put into the encoding, as if saved so.
        m_memo->document()->convertTo(encoding);
        m_memo->setModified(false);
    }

    // One step at random; its description goes into the log.
    void step();
    // Empty when the text control agrees with the model, else what differs.
    QString mismatch() const;
    QString log() const { return QStringList(m_log.begin(), m_log.end()).join(u'\n'); }
    // A known fault of the view: a step that shrank the text left the top line beyond its end.
    // Says so, after putting the view back on the text so that the check goes on.
    bool topLineOutsideTheText() const;

private:
    int below(int n) { return int(m_random.bounded(n)); }
    bool chance(int percent) { return below(100) < percent; }
    QString piece();
    QString someText(int pieces);
    QString editorText(const QString &text) const { return asEditorText(text, m_encoding); }
    QPoint somePoint(qreal heightShare = 1.0);
    void note(const QString &what);
    void key(Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void adoptSelection() { m_model.anchor = m_memo->anchorOffset(), m_model.caret = m_memo->caretOffset(); }
    bool recentDoubleClick() const
    {
        return m_doubleClick.isValid() && m_doubleClick.elapsed() <= QGuiApplication::styleHints()->mouseDoubleClickInterval() + 50;
    }

    void typeText();
    void typeBreakOrDelete();
    void deleteWord();
    void moveCaret();
    void click();
    void drag();
    void doubleClick();
    void scroll();
    void replaceSelection();
    void appendLine();
    void replaceAll();
    void undoOrRedo();
    void load();
    void clipboard();
    void replaceLine();
    void clear();
    void changeView();
    void paint();

    TForm2 *m_editor;
    ScriptMemo *m_memo;
    QRandomGenerator m_random;
    ScriptEncoding m_encoding;
    Model m_model;
    std::deque<QString> m_log;
    QElapsedTimer m_doubleClick;
    QString m_expectedFailure;
};

QString Driver::piece()
{
    static const QStringList pieces{u"a"_qs, u"echo"_qs, u" "_qs, u"  "_qs, u"{"_qs, u"}"_qs, u"("_qs, u")"_qs,
                                    u"$nick"_qs, u"%x"_qs, u"/*"_qs, u"*/"_qs, u";"_qs, u"жЯё"_qs, u"Ё"_qs,
                                    u"\x02"_qs, u"\x03" "4"_qs, u"\t"_qs, u"\u263A"_qs, u"on *:text:"_qs,
                                    u"alias x"_qs, u"Z"_qs, u"1234"_qs, u"#chan"_qs, u"€"_qs,
                                    QString::fromUcs4(U"\U0001F600"), QString::fromUcs4(U"x\U0001F44Dж")};
    return pieces.at(below(int(pieces.size())));
}

QString Driver::someText(int pieces)
{
    QString text;
    for (int i = 0; i < pieces; ++i) {
        const int kind = below(10);
        text += kind == 0 ? u"\r\n"_qs : kind == 1 ? u"\n"_qs : kind == 2 ? u"\r"_qs : piece();
    }
    return text;
}

QPoint Driver::somePoint(qreal heightShare)
{
    const QSize size = m_memo->viewport()->size();
    return QPoint(below(qMax(1, size.width())), below(qMax(1, int(size.height() * heightShare))));
}

void Driver::note(const QString &what)
{
    m_log.push_back(what);
    if (m_log.size() > 40)
        m_log.pop_front();
}

void Driver::key(Qt::Key k, Qt::KeyboardModifiers modifiers)
{
    QTest::keyClick(m_memo, k, modifiers);
}

void Driver::typeText()
{
    // Key by key, as the keyboard sends it: each key a change of its own for undo.
    QString text;
    for (int i = 1 + below(4); i > 0; --i)
        text += printable(piece());
    note(u"type \"%1\""_qs.arg(text));
    for (qsizetype i = 0; i < text.size(); i += characterLength(text, i)) {
        const QString c = text.mid(i, characterLength(text, i));
        TestEnv::type(m_memo, c);
        m_model.replaceSelection(editorText(c));
    }
}

void Driver::typeBreakOrDelete()
{
    // Enter takes a chosen completion; only a plain line break is wanted here.
    if (m_editor->Assist->completionShown())
        key(Qt::Key_Escape);
    const int which = below(3);
    if (which == 0) {
        note(u"Return"_qs);
        key(Qt::Key_Return);
        m_model.replaceSelection(kCrLf);
        return;
    }
    // A run of deletions, which undo takes back as one.
    for (int i = 1 + below(3); i > 0; --i) {
        const qsizetype caret = m_model.caret;
        if (which == 1) {
            note(u"Backspace"_qs);
            key(Qt::Key_Backspace);
            if (m_model.selLength() > 0)
                m_model.replaceSelection(QString());
            else if (caret > 0)
                m_model.edit(m_model.previousCharacter(caret), caret - m_model.previousCharacter(caret), QString());
        } else {
            note(u"Delete"_qs);
            key(Qt::Key_Delete);
            if (m_model.selLength() > 0)
                m_model.replaceSelection(QString());
            else if (caret < m_model.text.size())
                m_model.edit(caret, m_model.nextCharacter(caret) - caret, QString());
        }
    }
}

void Driver::deleteWord()
{
    const bool backward = chance(50);
    note(backward ? u"Ctrl+Backspace"_qs : u"Ctrl+Delete"_qs);
    const QString before = m_model.text;
    const qsizetype caret = m_model.caret;
    const bool selection = m_model.selLength() > 0;
    key(backward ? Qt::Key_Backspace : Qt::Key_Delete, Qt::ControlModifier);
    if (selection) {
        m_model.replaceSelection(QString());
        return;
    }
    // Where the word ends is the control's to say; what goes is one stretch beside the caret.
    const QString after = m_memo->wholeText();
    if (after == before)
        return;
    const qsizetype removed = before.size() - after.size();
    const qsizetype start = backward ? caret - removed : caret;
    if (removed > 0 && start >= 0 && start <= caret)
        m_model.edit(start, removed, QString());
    else
        m_expectedFailure = u"a word deletion changed more than one stretch beside the caret"_qs;
}

void Driver::moveCaret()
{
    static const QList<std::pair<Qt::Key, Qt::KeyboardModifiers>> moves{
        {Qt::Key_Left, {}}, {Qt::Key_Right, {}}, {Qt::Key_Up, {}}, {Qt::Key_Down, {}},
        {Qt::Key_Home, {}}, {Qt::Key_End, {}}, {Qt::Key_PageUp, {}}, {Qt::Key_PageDown, {}},
        {Qt::Key_Left, Qt::ControlModifier}, {Qt::Key_Right, Qt::ControlModifier},
        {Qt::Key_Home, Qt::ControlModifier}, {Qt::Key_End, Qt::ControlModifier}};
    const auto [k, modifiers] = moves.at(below(int(moves.size())));
    const bool shift = chance(40);
    note(u"key %1 %2%3"_qs.arg(int(k), 0, 16).arg(modifiers & Qt::ControlModifier ? u"ctrl "_qs : QString())
             .arg(shift ? u"shift"_qs : QString()));
    // The completion list takes the vertical keys while it shows.
    const bool listTakesIt = m_editor->Assist->completionShown()
                             && (k == Qt::Key_Up || k == Qt::Key_Down || k == Qt::Key_PageUp || k == Qt::Key_PageDown);
    const qsizetype anchor = m_model.anchor;
    key(k, modifiers | (shift ? Qt::ShiftModifier : Qt::NoModifier));
    if (listTakesIt) {
        if (m_memo->caretOffset() != m_model.caret || m_memo->anchorOffset() != m_model.anchor)
            m_expectedFailure = u"a key the completion list took moved the caret"_qs;
        return;
    }
    adoptSelection();
    if (shift && m_model.anchor != anchor)
        m_expectedFailure = u"a Shift move changed the anchor"_qs;
    if (!shift && m_model.anchor != m_model.caret)
        m_expectedFailure = u"a move without Shift left a selection"_qs;
    if (k == Qt::Key_Home && (modifiers & Qt::ControlModifier) && m_model.caret != 0)
        m_expectedFailure = u"Ctrl+Home did not reach the start"_qs;
    if (k == Qt::Key_End && (modifiers & Qt::ControlModifier) && m_model.caret != m_model.text.size())
        m_expectedFailure = u"Ctrl+End did not reach the end"_qs;
}

void Driver::click()
{
    const QPoint point = somePoint();
    const qsizetype expected = m_memo->offsetAt(point);
    note(u"click %1,%2 (offset %3)"_qs.arg(point.x()).arg(point.y()).arg(expected));
    const bool loose = recentDoubleClick(); // a third click selects the line
    QTest::mouseClick(m_memo->viewport(), Qt::LeftButton, Qt::NoModifier, point);
    adoptSelection();
    if (!loose && (m_model.caret != expected || m_model.anchor != expected))
        m_expectedFailure = u"the click put the caret at %1, not where offsetAt said"_qs.arg(m_model.caret);
}

void Driver::drag()
{
    // From a place of the upper part to another, with no selection to drag away.
    m_memo->setSelection(m_model.caret, m_model.caret);
    m_model.anchor = m_model.caret;
    const QPoint from = somePoint(0.6);
    const QPoint to = somePoint(0.6);
    const qsizetype expectedAnchor = m_memo->offsetAt(from);
    const qsizetype expectedCaret = m_memo->offsetAt(to);
    note(u"drag %1,%2 -> %3,%4"_qs.arg(from.x()).arg(from.y()).arg(to.x()).arg(to.y()));
    const bool loose = recentDoubleClick();
    QTest::mousePress(m_memo->viewport(), Qt::LeftButton, Qt::NoModifier, from);
    QMouseEvent move(QEvent::MouseMove, to, m_memo->viewport()->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(m_memo->viewport(), &move);
    QTest::mouseRelease(m_memo->viewport(), Qt::LeftButton, Qt::NoModifier, to);
    adoptSelection();
    if (!loose && (m_model.anchor != expectedAnchor || m_model.caret != expectedCaret))
        m_expectedFailure = u"the drag selected %1..%2, not %3..%4"_qs.arg(m_model.anchor).arg(m_model.caret)
                                .arg(expectedAnchor).arg(expectedCaret);
}

void Driver::doubleClick()
{
    const QPoint point = somePoint();
    note(u"double click %1,%2"_qs.arg(point.x()).arg(point.y()));
    QTest::mouseDClick(m_memo->viewport(), Qt::LeftButton, Qt::NoModifier, point);
    m_doubleClick.start();
    adoptSelection();
    if (m_memo->SelText().contains(kCrLf) && !m_memo->SelText().startsWith(kCrLf))
        m_expectedFailure = u"a double click selected across a line break"_qs;
}

void Driver::scroll()
{
    if (chance(50)) {
        QScrollBar *bar = m_memo->verticalScrollBar();
        const int value = bar->minimum() + below(bar->maximum() - bar->minimum() + 1);
        note(u"scroll to %1"_qs.arg(value));
        bar->setValue(value);
    } else {
        const int delta = (below(2) ? 120 : -120) * (1 + below(3));
        note(u"wheel %1"_qs.arg(delta));
        const QPoint at = somePoint();
        QWheelEvent wheel(at, m_memo->viewport()->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(m_memo->viewport(), &wheel);
    }
}

void Driver::replaceSelection()
{
    const qsizetype size = m_model.text.size();
    qsizetype anchor = below(int(size) + 1);
    qsizetype caret = chance(30) ? anchor : below(int(size) + 1);
    // Inside a line break the control puts the ends before it.
    if (!m_model.isCaretPlace(anchor))
        --anchor;
    if (!m_model.isCaretPlace(caret))
        --caret;
    const QString text = someText(below(5));
    note(u"select %1..%2, put \"%3\""_qs.arg(anchor).arg(caret).arg(text));
    m_memo->setSelection(anchor, caret);
    m_model.anchor = anchor;
    m_model.caret = caret;
    if (chance(15)) {
        // mIRC's bold code by its key: a selection is wrapped in the code pair and stays selected.
        note(u"Ctrl+B"_qs);
        key(Qt::Key_B, Qt::ControlModifier);
        const qsizetype start = m_model.selStart();
        const qsizetype length = m_model.selLength();
        if (length == 0) {
            m_model.replaceSelection(u"\x02"_qs);
            return;
        }
        m_model.replaceSelection(u"\x02"_qs + m_model.text.mid(start, length) + u"\x02"_qs);
        m_model.anchor = start + 1;
        m_model.caret = start + 1 + length;
        return;
    }
    m_memo->setSelText(text);
    m_model.replaceSelection(editorText(text));
}

void Driver::appendLine()
{
    const QString text = someText(1 + below(4));
    note(u"append \"%1\""_qs.arg(text));
    m_memo->appendAsLine(text);
    const QString added = editorText(text);
    const bool atLineStart = m_model.text.isEmpty() || m_model.text.endsWith(kCrLf);
    m_model.edit(m_model.text.size(), 0, atLineStart ? added + kCrLf : kCrLf + added);
}

void Driver::replaceAll()
{
    QString what;
    if (m_model.text.size() > 0 && chance(80)) {
        qsizetype at = below(int(m_model.text.size()));
        at -= m_model.isCaretPlace(at) ? 0 : 1;
        what = m_model.text.mid(at, 1 + below(3));
        if (!what.isEmpty() && what.back().isHighSurrogate())
            what.chop(1);
    } else {
        what = piece();
    }
    what = printable(what);
    if (what.isEmpty())
        what = u"a"_qs;
    // What a one-line field holds: no control characters.
    const QString replacement = chance(20) ? QString() : printable(piece());
    FindReplace::Options options;
    options.matchCase = chance(50);
    options.wholeWord = chance(20);
    note(u"replace all \"%1\" by \"%2\"%3%4"_qs.arg(what, replacement, options.matchCase ? u" case"_qs : QString(),
                                                    options.wholeWord ? u" word"_qs : QString()));
    ReplaceDialog *dialog = m_editor->ReplaceDialog1;
    dialog->setFindText(what);
    dialog->setReplaceText(replacement);
    dialog->MatchCaseBox->setChecked(options.matchCase);
    dialog->WholeWordBox->setChecked(options.wholeWord);
    dialog->ReplaceAllButton->click();
    const auto expected = ReplaceAllOracle::replaceAll(m_model.text, editorText(what), editorText(replacement),
                                                       options, m_encoding);
    if (expected.count == 0)
        return;
    m_model.text = expected.text;
    m_model.changed();
    adoptSelection();
    if (m_model.anchor != m_model.caret)
        m_expectedFailure = u"Replace All left a selection"_qs;
}

void Driver::undoOrRedo()
{
    const bool undo = chance(60);
    const bool byKey = chance(50);
    note(undo ? u"undo"_qs : u"redo"_qs);
    const bool available = undo ? m_memo->isUndoAvailable() : m_memo->isRedoAvailable();
    const QString before = m_model.text;
    if (undo && byKey)
        key(Qt::Key_Z, Qt::ControlModifier);
    else if (undo)
        m_memo->undo();
    else
        m_memo->redo();
    const QString after = m_memo->wholeText();
    if (!available) {
        if (after != before)
            m_expectedFailure = u"undo or redo changed the text with nothing to undo or redo"_qs;
        return;
    }
    if (undo) {
        // Back to one of the texts since the load, before the current one.
        qsizetype at = m_model.historyAt - 1;
        while (at >= 0 && m_model.history.at(at) != after)
            --at;
        if (at < 0) {
            m_expectedFailure = u"undo gave a text the editor never held since the load"_qs;
            return;
        }
        m_model.historyAt = at;
        m_model.undone.append(before);
    } else {
        if (m_model.undone.isEmpty() || after != m_model.undone.last()) {
            m_expectedFailure = u"redo did not bring back the text undo left"_qs;
            return;
        }
        m_model.undone.removeLast();
        qsizetype at = m_model.historyAt + 1;
        while (at < m_model.history.size() && m_model.history.at(at) != after)
            ++at;
        m_model.historyAt = qMin(at, m_model.history.size() - 1);
    }
    m_model.text = after;
    if (after != before)
        m_model.modified = true;
    adoptSelection();
}

void Driver::load()
{
    if (chance(50)) {
        const QString text = someText(below(60));
        note(u"load text of %1 characters"_qs.arg(text.size()));
        m_memo->loadText(text);
        m_model.loaded(editorText(text));
    } else {
        // Every byte value, line breaks of every kind among them.
        QByteArray bytes(below(400), Qt::Uninitialized);
        for (char &b : bytes)
            b = char(below(256));
        // Now and then UTF-8 with a mark, which the bytes of the file then show.
        if (chance(20))
            bytes = Utf8::kBom.toByteArray() + someText(below(20)).toUtf8();
        note(u"load %1 bytes"_qs.arg(bytes.size()));
        m_memo->loadFile(bytes);
        m_encoding = ScriptText::detectedEncoding(bytes);
        const QByteArrayView text = m_encoding == ScriptEncoding::Utf8WithBom ? QByteArrayView(bytes).sliced(3) : bytes;
        m_model.loaded(editorText(ScriptText::decodedText(text, m_encoding)));
    }
}

void Driver::clipboard()
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    const int which = below(3);
    if (which == 2) {
        const QString text = someText(1 + below(4));
        note(u"paste \"%1\""_qs.arg(text));
        clipboard->setText(text);
        if (chance(50))
            key(Qt::Key_V, Qt::ControlModifier);
        else
            m_memo->paste();
        m_model.replaceSelection(editorText(text));
        return;
    }
    const QString selected = m_model.text.mid(m_model.selStart(), m_model.selLength());
    note(which == 0 ? u"copy"_qs : u"cut"_qs);
    clipboard->clear();
    if (which == 0)
        m_memo->copy();
    else
        m_memo->cut();
    // The desktop's line breaks on the clipboard.
    if (!selected.isEmpty() && clipboard->text() != QString(selected).replace(kCrLf, u"\n"_qs))
        m_expectedFailure = u"the clipboard holds \"%1\""_qs.arg(clipboard->text());
    if (which == 1 && !selected.isEmpty())
        m_model.replaceSelection(QString());
}

void Driver::replaceLine()
{
    const int line = below(m_memo->lineCount() + 1) - (chance(10) ? 1 : 0);
    const QString text = printable(someText(below(3)));
    note(u"set line %1 to \"%2\""_qs.arg(line).arg(text));
    m_memo->setLine(line, text);
    const int lines = int(m_model.text.count(kCrLf)) + 1;
    if (line < 0 || line >= lines)
        return;
    const qsizetype start = m_model.lineStart(line);
    const qsizetype end = line + 1 < lines ? m_model.text.indexOf(kCrLf, start) : m_model.text.size();
    const qsizetype anchor = m_model.anchor;
    const qsizetype caret = m_model.caret;
    m_model.edit(start, end - start, editorText(text));
    // The ends of the selection stay where they were, within the text.
    adoptSelection();
    if (!m_model.isCaretPlace(m_model.caret) || (caret < start && m_model.caret != caret)
        || (anchor < start && m_model.anchor != anchor))
        m_expectedFailure = u"setLine moved a selection end before the line"_qs;
}

void Driver::clear()
{
    note(u"clear"_qs);
    m_memo->clearLines();
    m_model.edit(0, m_model.text.size(), QString());
}

void Driver::changeView()
{
    const int which = below(4);
    if (which == 0) {
        note(u"word wrap"_qs);
        m_memo->setWordWrap(!m_memo->wordWrap());
    } else if (which == 1) {
        const QSize size(200 + below(600), 150 + below(400));
        note(u"window %1x%2"_qs.arg(size.width()).arg(size.height()));
        m_editor->showNormal();
        m_editor->resize(size);
    } else if (which == 2) {
        note(u"saved"_qs);
        m_memo->setModified(false);
        m_model.modified = false;
    } else {
        note(u"caret into view"_qs);
        m_memo->ensureCursorVisible();
    }
}

void Driver::paint()
{
    note(u"paint"_qs);
    QApplication::processEvents();
    m_memo->viewport()->repaint();
    if (chance(20))
        m_editor->grab();
}

void Driver::step()
{
    m_expectedFailure.clear();
    struct Operation {
        int weight;
        void (Driver::*run)();
    };
    static const Operation operations[] = {
        {14, &Driver::typeText},     {10, &Driver::typeBreakOrDelete}, {3, &Driver::deleteWord},
        {12, &Driver::moveCaret},     {5, &Driver::click},             {3, &Driver::drag},
        {2, &Driver::doubleClick},    {6, &Driver::scroll},            {10, &Driver::replaceSelection},
        {5, &Driver::appendLine},     {3, &Driver::replaceAll},        {8, &Driver::undoOrRedo},
        {2, &Driver::load},           {4, &Driver::clipboard},         {3, &Driver::replaceLine},
        {1, &Driver::clear},          {2, &Driver::changeView},        {7, &Driver::paint},
    };
    int total = 0;
    for (const Operation &operation : operations)
        total += operation.weight;
    int pick = below(total);
    for (const Operation &operation : operations) {
        if ((pick -= operation.weight) < 0) {
            (this->*operation.run)();
            return;
        }
    }
}

QString Driver::mismatch() const
{
    if (!m_expectedFailure.isEmpty())
        return m_expectedFailure;
    const Model &m = m_model;
    if (m_memo->wholeText() != m.text)
        return u"text \"%1\", expected \"%2\""_qs.arg(m_memo->wholeText(), m.text);
    if (m_memo->textLength() != m.text.size())
        return u"length %1, expected %2"_qs.arg(m_memo->textLength()).arg(m.text.size());
    if (m_memo->caretOffset() != m.caret || m_memo->anchorOffset() != m.anchor)
        return u"selection %1..%2, expected %3..%4"_qs.arg(m_memo->anchorOffset()).arg(m_memo->caretOffset())
            .arg(m.anchor).arg(m.caret);
    if (!m.isCaretPlace(m.caret) || !m.isCaretPlace(m.anchor))
        return u"a selection end inside a line break"_qs;
    if (m_memo->SelStart() != m.selStart() || m_memo->SelLength() != m.selLength()
        || m_memo->SelText() != m.text.mid(m.selStart(), m.selLength()))
        return u"SelStart, SelLength or SelText disagree with the ends"_qs;
    if (m_memo->Modified() != m.modified)
        return u"Modified is %1"_qs.arg(m_memo->Modified());
    const QStringList lines = m.text.split(kCrLf);
    if (m_memo->lineCount() != lines.size())
        return u"%1 lines, expected %2"_qs.arg(m_memo->lineCount()).arg(lines.size());
    qsizetype start = 0;
    for (int i = 0; i < lines.size(); ++i) {
        if (m_memo->line(i) != lines.at(i) || m_memo->lineStartOffset(i) != start
            || m_memo->lineLength(i) != lines.at(i).size())
            return u"line %1 is \"%2\" at %3"_qs.arg(i).arg(m_memo->line(i)).arg(m_memo->lineStartOffset(i));
        start += lines.at(i).size() + 2;
    }
    // CaretPos tells where the selection ends, whichever end the caret is.
    const qsizetype end = m.selStart() + m.selLength();
    const int endLine = m.lineOf(end);
    if (m_memo->lineOfOffset(end) != endLine || m_memo->CaretPos() != QPoint(int(end - m.lineStart(endLine)), endLine))
        return u"the selection's end is at %1:%2"_qs.arg(m_memo->CaretPos().y()).arg(m_memo->CaretPos().x());
    const QByteArray mark = m_encoding == ScriptEncoding::Utf8WithBom ? Utf8::kBom.toByteArray() : QByteArray();
    if (m_memo->fileBytes() != mark + ScriptText::encodedText(m.text, m_encoding))
        return u"the file bytes differ from the text"_qs;
    if (m_memo->document()->encoding() != m_encoding)
        return u"the encoding is %1"_qs.arg(ScriptText::encodingName(m_memo->document()->encoding()));
    if (m.historyAt == 0 && m.history.size() == 1 && m_memo->isUndoAvailable())
        return u"undo is offered right after a load"_qs;
    if (m.undone.isEmpty() && m_memo->isRedoAvailable())
        return u"redo is offered after an edit"_qs;
    return QString();
}

bool Driver::topLineOutsideTheText() const
{
    return m_memo->firstVisibleLine() < 0 || m_memo->firstVisibleLine() >= m_memo->lineCount();
}

int environmentNumber(const char *name, int fallback)
{
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok ? value : fallback;
}

} // namespace

class ScriptMemoRandomTest : public ProgramTest {
    Q_OBJECT
private slots:
    void theTextControlAgreesWithAPlainModelThroughRandomSteps_data()
    {
        QTest::addColumn<ScriptEncoding>("encoding");
        QTest::newRow("Windows-1251") << ScriptEncoding::Windows1251;
        QTest::newRow("UTF-8") << ScriptEncoding::Utf8;
    }

    void theTextControlAgreesWithAPlainModelThroughRandomSteps()
    {
        QFETCH(ScriptEncoding, encoding);
        const int seconds = environmentNumber("ORL_MEMO_CHECK_SECONDS", 3);
        const quint32 firstSeed = quint32(environmentNumber("ORL_MEMO_CHECK_SEED", int(QRandomGenerator::global()->generate() >> 1)));
        QElapsedTimer clock;
        clock.start();
        qint64 steps = 0;
        // Runs of a few hundred steps, each in a new window from its own seed.
        for (quint32 seed = firstSeed; clock.elapsed() < seconds * 1000; ++seed) {
            TForm2 *editor = TestEnv::newEditor();
            // The formatting keys are shortcuts of the focused text.
            Orl->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(Orl));
            editor->Memo1->setFocus();
            Driver driver(editor, seed, encoding);
            for (int step = 0; step < 300; ++step, ++steps) {
                driver.step();
                const QString mismatch = driver.mismatch();
                if (!mismatch.isEmpty())
                    QFAIL(qPrintable(u"seed %1, step %2: %3\nlast steps:\n%4"_qs.arg(seed).arg(step).arg(mismatch, driver.log())));
                if (driver.topLineOutsideTheText())
                    QFAIL(qPrintable(u"seed %1, step %2: the view's top line stayed beyond the end of the text\nlast steps:\n%3"_qs
                                         .arg(seed).arg(step).arg(driver.log())));
            }
            editor->markSaved();
            editor->close();
            TestEnv::flushDeletes();
            dialogs->clear();
        }
        qInfo("%lld random steps from seed %u", steps, firstSeed);
    }
};

QTEST_MAIN(ScriptMemoRandomTest)
#include "test_script_memo_random.moc"
