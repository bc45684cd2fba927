// The editing logic of a script's text without any view: what every kind of edit reports, undo and
// redo with the selection, line states through inserted and removed lines, the caret's steps, the
// wait for a file, offsets over characters of every UTF-8 length, the change of encoding, and a
// randomised comparison with a plain model of text and selection in both encodings.
#include "common/win1251_codec.h"
#include "editor/script_document.h"
#include "editor/script_text.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTest>

namespace {

using Kind = ScriptDocument::EditKind;

// A styler whose state is the depth of braces.
ScriptDocument::LineStyle braceDepth(const QString &text, int state)
{
    ScriptDocument::LineStyle style;
    style.endState = qMax(0, state + int(text.count(u'{')) - int(text.count(u'}')));
    return style;
}

// Every line's start state as styling the whole text afresh gives it, held to the document's.
bool statesAreFresh(const ScriptDocument &document)
{
    int state = 0;
    for (int line = 0; line < document.lineCount(); ++line) {
        if (document.lineStartState(line) != state) {
            qWarning("line %d starts in %d, not %d", line, document.lineStartState(line), state);
            return false;
        }
        if (document.lineLength(line) <= ScriptDocument::kLongLine)
            state = braceDepth(document.line(line), state).endState;
    }
    return true;
}

// The last change tells the stretch that differs: the text after it is the text before it with
// removedLength characters at start replaced by insertedLength characters of the new text.
bool changeExplains(const ScriptDocument &document, const QString &before)
{
    const ScriptDocument::TextChange &change = document.lastChange();
    const QString after = document.wholeText();
    const bool explained = change.start >= 0 && change.start + change.removedLength <= before.size()
        && after.size() == before.size() - change.removedLength + change.insertedLength
        && after.left(change.start) == before.left(change.start)
        && after.mid(change.start + change.insertedLength) == before.mid(change.start + change.removedLength)
        && (change.removed.isEmpty() || document.decoded(change.removed) == before.mid(change.start, change.removedLength));
    if (!explained)
        qWarning("change at %lld, %lld removed, %lld inserted, does not explain the edit", qint64(change.start),
                 qint64(change.removedLength), qint64(change.insertedLength));
    return explained;
}

// A text as the document takes it in: CR LF breaks, and in Windows-1251 a "?" for each character
// the code page lacks.
QString enteredText(const QString &text, ScriptEncoding encoding)
{
    return ScriptText::decodedText(ScriptText::encodedText(text, encoding), encoding);
}

} // namespace

class ScriptDocumentTest : public QObject {
    Q_OBJECT
private slots:
    void everyKindOfEditReportsWhatItChanged()
    {
        ScriptDocument document;
        QSignalSpy changes(&document, &ScriptDocument::changed);
        QSignalSpy replaced(&document, &ScriptDocument::linesReplaced);
        document.loadText(u"alpha beta gamma\ndelta\nepsilon"_qs);
        QCOMPARE(changes.count(), 1);
        QCOMPARE(document.lastChange().insertedLength, document.length());
        QString before;
        // Each edit: it says it changed the text, signals once, and its report explains it.
        const auto edit = [&](const std::function<bool()> &run) {
            before = document.wholeText();
            changes.clear();
            return run() && changes.count() == 1 && changeExplains(document, before);
        };
        document.setSelection(6, 10);
        QVERIFY(edit([&] { return document.replaceSelection(u"BETA\nB"_qs); }));
        QCOMPARE(document.lastChange().removed, QByteArray("beta"));
        QCOMPARE(replaced.last(), QVariantList({0, 0, 1})); // line 0 became lines 0 and 1
        QVERIFY(edit([&] { return document.removeSelectionOr(0, 5, Kind::Other); }));
        QVERIFY(edit([&] { return document.setLine(1, u"new"_qs); }));
        QVERIFY(edit([&] { return document.appendAsLine(u"appended"_qs); }));
        QVERIFY(edit([&] { return document.replaceRanges({{0, 1}, {8, 2}, {20, 0}}, u"[]"_qs); }));
        QVERIFY(edit([&] { return document.insertSelected(3, u"dropped"_qs); }));
        QCOMPARE(document.selectedText(), u"dropped"_qs);
        // A drag within the text moves the selection: one change from the first place to the second.
        document.setSelection(3, 10);
        QVERIFY(edit([&] { return document.moveSelection(document.length()); }));
        QCOMPARE(document.selectedText(), u"dropped"_qs);
        QVERIFY(document.wholeText().endsWith(u"dropped"_qs));
        QCOMPARE(document.lastChange().start, qsizetype(3));
        document.setSelection(document.length(), document.length() - 7);
        QVERIFY(edit([&] { return document.moveSelection(0); }));
        QVERIFY(document.wholeText().startsWith(u"dropped"_qs));
        QVERIFY(edit([&] { return document.undo(); }));
        QVERIFY(edit([&] { return document.redo(); }));
        QVERIFY(edit([&] { return document.clearLines(); }));
        QCOMPARE(document.length(), qsizetype(0));

        // Nothing by nothing, and a drop onto the dragged selection itself, change nothing at all.
        document.loadText(u"one two"_qs);
        changes.clear();
        QVERIFY(!document.replaceSelection(QString()));
        QVERIFY(!document.removeSelectionOr(3, 3, Kind::DeletingForward));
        QVERIFY(!document.replaceRanges({{2, 0}}, QString()));
        document.setSelection(0, 3);
        QVERIFY(!document.moveSelection(1));
        QVERIFY(!document.moveSelection(3));
        QVERIFY(!document.setLine(5, u"no such line"_qs));
        QCOMPARE(changes.count(), 0);
        QVERIFY(!document.isModified());
        QCOMPARE(document.wholeText(), u"one two"_qs);
    }

    void undoAndRedoBringBackTheSelection()
    {
        ScriptDocument document;
        document.loadText(u"one two three"_qs);
        // A selection made right to left comes back the same way round.
        document.setSelection(7, 4);
        QVERIFY(document.replaceSelection(u"2"_qs));
        QCOMPARE(document.wholeText(), u"one 2 three"_qs);
        QCOMPARE(document.caret(), qsizetype(5));
        document.setSelection(0, 0);
        QVERIFY(document.undo());
        QCOMPARE(document.wholeText(), u"one two three"_qs);
        QCOMPARE(document.anchor(), qsizetype(7));
        QCOMPARE(document.caret(), qsizetype(4));
        QVERIFY(document.isModified());
        QVERIFY(document.redo());
        QCOMPARE(document.wholeText(), u"one 2 three"_qs);
        QCOMPARE(document.anchor(), qsizetype(5));
        QCOMPARE(document.caret(), qsizetype(5));

        // Typed characters are one step, undone back to where the typing began; moving the caret
        // ends the run.
        document.setSelection(11, 11);
        for (const QString &c : {u"!"_qs, u"?"_qs, u"ж"_qs})
            document.replaceSelection(c, Kind::Typing);
        document.setSelection(0, 0);
        document.replaceSelection(u">"_qs, Kind::Typing);
        QVERIFY(document.undo());
        QCOMPARE(document.caret(), qsizetype(0));
        QVERIFY(document.undo());
        QCOMPARE(document.wholeText(), u"one 2 three"_qs);
        QCOMPARE(document.caret(), qsizetype(11));

        // A moved selection comes back to where it was, selected.
        document.setSelection(0, 3);
        QVERIFY(document.moveSelection(document.length()));
        QVERIFY(document.undo());
        QCOMPARE(document.wholeText(), u"one 2 three"_qs);
        QCOMPARE(document.anchor(), qsizetype(0));
        QCOMPARE(document.caret(), qsizetype(3));
        QVERIFY(document.redo());
        QCOMPARE(document.wholeText(), u" 2 threeone"_qs);
        QCOMPARE(document.selectedText(), u"one"_qs);

        // A load cannot be undone.
        document.loadText(u"fresh"_qs);
        QVERIFY(!document.canUndo() && !document.undo());
        QVERIFY(!document.isModified());
    }

    void lineStatesFollowInsertedAndRemovedLines()
    {
        ScriptDocument document;
        QStringList lines;
        for (int i = 0; i < 400; ++i)
            lines.append(i % 10 == 0 ? u"alias a%1 {"_qs.arg(i) : (i % 10 == 9 ? u"}"_qs : u"  echo %1"_qs.arg(i)));
        document.loadText(lines.join(u'\n'));
        int styled = 0;
        document.setLineStyler([&](const QString &text, int state) {
            ++styled;
            return braceDepth(text, state);
        });
        QVERIFY(statesAreFresh(document)); // every state known from here on
        const auto edited = [&](qsizetype at, qsizetype length, const QString &text) {
            styled = 0;
            document.setSelection(at, at + length);
            document.replaceSelection(text);
            return statesAreFresh(document);
        };
        // Lines that open and close nothing, inserted and removed in the middle: the states after
        // them are kept, moved by the lines inserted or removed, and styled no further than the edit.
        const qsizetype middle = document.lineStart(105);
        QVERIFY(edited(middle, 0, u"  echo x\n  echo y\n"_qs));
        QCOMPARE(document.lineCount(), 402);
        QVERIFY(styled < 10);
        QVERIFY(edited(middle, document.lineStart(108) - middle, QString()));
        QCOMPARE(document.lineCount(), 399);
        QVERIFY(styled < 10);
        // A brace opened or closed changes every state after it.
        QVERIFY(edited(document.lineStart(50), 0, u"{\n"_qs));
        QVERIFY(edited(document.lineStart(30), document.lineStart(70) - document.lineStart(30), u"}"_qs));
        QVERIFY(edited(0, 0, u"\n\n\n"_qs));
        QVERIFY(edited(document.lineStart(document.lineCount() - 1), 0, u"{\n{\n"_qs));
        document.appendAsLine(u"}"_qs);
        QVERIFY(statesAreFresh(document));
        QVERIFY(document.undo() && document.undo());
        QVERIFY(statesAreFresh(document));
        // A line past the styling limit passes the state on as it came.
        QVERIFY(edited(document.lineStart(3), 0, QString(ScriptDocument::kLongLine + 1, u'{') + u"\n"_qs));
        QCOMPARE(document.lineStartState(4), document.lineStartState(3));
    }

    void wordStepsStopAlikeBothWays()
    {
        ScriptDocument document;
        document.loadText(u"alias привет_1 {\n\n  echo -a $nick, мир!\n}"_qs);
        const QString text = document.wholeText();
        // Forward: the start of each word, each line's end, each line's start.
        // (A step that does not move ends the walk.)
        QList<qsizetype> forward{0};
        while (forward.last() < document.length() && forward.size() < 100)
            forward.append(document.wordEndAfter(forward.last()));
        QList<qsizetype> backward{document.length()};
        while (backward.last() > 0 && backward.size() < 100)
            backward.append(document.wordStartBefore(backward.last()));
        std::reverse(backward.begin(), backward.end());
        QCOMPARE(backward, forward);
        QStringList stops;
        for (qsizetype at : forward)
            stops.append(text.mid(at, 3));
        QCOMPARE(stops, QStringList({u"ali"_qs, u"при"_qs, u"\r\n\r"_qs, u"\r\n "_qs, u"  e"_qs,
                                     u"ech"_qs, u"a $"_qs, u"nic"_qs, u"мир"_qs, u"\r\n}"_qs, u"}"_qs,
                                     QString()}));
        // Ctrl+Backspace at a line's start takes the line break only.
        const qsizetype lastLine = document.lineStart(3);
        QVERIFY(document.removeSelectionOr(document.wordStartBefore(lastLine), lastLine, Kind::Other));
        QCOMPARE(document.line(2), u"  echo -a $nick, мир!}"_qs);
        QCOMPARE(document.lineCount(), 3);
        // A character step takes a line break whole; a word is letters, digits and "_" of any script.
        QCOMPARE(document.nextCharacter(document.lineEnd(0)), document.lineStart(1));
        QCOMPARE(document.previousCharacter(document.lineStart(1)), document.lineEnd(0));
        const ScriptDocument::Range word = document.wordAt(text.indexOf(u"вет"_qs));
        QCOMPARE(document.text(word.start, word.length), u"привет_1"_qs);
        const ScriptDocument::Range line = document.lineAt(2);
        QCOMPARE(document.text(line.start, line.length), u"alias привет_1 {\r\n"_qs);
    }

    void offsetsCountCharactersOfEveryUtf8Length()
    {
        // One-, two-, three- and four-byte characters: offsets count them as QString does, an emoji
        // two, and the caret never stands inside one.
        ScriptDocument document;
        const QString emoji = QString::fromUcs4(U"\U0001F600");
        document.loadFile((u"aж€"_qs + emoji + u"b\r\nЁ"_qs + emoji + emoji + u"\r\n€"_qs).toUtf8());
        QCOMPARE(document.encoding(), ScriptEncoding::Utf8);
        QCOMPARE(document.length(), 16);
        QCOMPARE(document.lineStart(1), 8);
        QCOMPARE(document.lineLength(1), 5);
        QCOMPARE(document.lineStart(2), 15);
        QCOMPARE(document.lineOf(14), 1);
        QCOMPARE(document.line(1), u"Ё"_qs + emoji + emoji);
        QCOMPARE(document.text(2, 4), u"€"_qs + emoji + u"b"_qs);
        // Any range, as the same range of a QString, halves of a pair included.
        const QString whole = document.text(0, document.length());
        for (qsizetype start = 0; start <= whole.size(); ++start) {
            for (qsizetype length = 0; start + length <= whole.size(); ++length)
                QCOMPARE(document.text(start, length), whole.mid(start, length));
        }
        QCOMPARE(document.byteOffset(5), qsizetype(10)); // a, ж, € and the emoji: 1 + 2 + 3 + 4 bytes
        // Inside a surrogate pair: back to the pair's start.
        QCOMPARE(document.snapped(4), qsizetype(3));
        QVERIFY(document.setSelection(4, 11));
        QCOMPARE(document.anchor(), qsizetype(3));
        QCOMPARE(document.caret(), qsizetype(11));
        QCOMPARE(document.nextCharacter(3), qsizetype(5));
        QCOMPARE(document.previousCharacter(5), qsizetype(3));
        QCOMPARE(document.previousCharacter(8), qsizetype(6)); // over the line break
        QCOMPARE(document.text(document.wordAt(1).start, document.wordAt(1).length), u"aж"_qs);
        QCOMPARE(document.wordAt(3).length, 2);                // no word: the emoji alone
        QCOMPARE(document.wordEndAfter(0), qsizetype(5));      // over "aж", then "€" and the emoji
        // An edit in the middle of a line keeps the lines after it where they are.
        QVERIFY(document.replace(9, 2, u"ЖЖЖ"_qs + emoji));
        QCOMPARE(document.line(1), u"ЁЖЖЖ"_qs + emoji + emoji);
        QCOMPARE(document.caret(), qsizetype(14));
        QCOMPARE(document.lineStart(2), 18);
        QCOMPARE(document.lastChange().start, 9);
        QCOMPARE(document.decoded(document.lastChange().removed), emoji);
        QCOMPARE(document.fileBytes(), (u"aж€"_qs + emoji + u"b\r\nЁЖЖЖ"_qs + emoji + emoji + u"\r\n€"_qs).toUtf8());
        QVERIFY(document.undo());
        QCOMPARE(document.line(1), u"Ё"_qs + emoji + emoji);
        QCOMPARE(document.lineStart(2), 15);
    }

    void theTextChangesItsEncoding()
    {
        ScriptDocument document;
        QSignalSpy encodings(&document, &ScriptDocument::encodingChanged);
        document.loadText(u"Привет\nмир"_qs);
        QCOMPARE(document.encoding(), ScriptEncoding::Windows1251);
        document.setSelection(8, 11);
        document.replaceSelection(u"МИР"_qs);
        document.setSelection(2, 10);
        QVERIFY(document.convertTo(ScriptEncoding::Utf8));
        QCOMPARE(encodings.count(), 1);
        QCOMPARE(document.wholeText(), u"Привет\r\nМИР"_qs);
        QCOMPARE(document.fileBytes(), u"Привет\r\nМИР"_qs.toUtf8());
        QCOMPARE(document.anchor(), qsizetype(2));
        QCOMPARE(document.caret(), qsizetype(10));
        QVERIFY(document.isModified() && !document.canUndo());
        QVERIFY(!document.convertTo(ScriptEncoding::Utf8));
        QVERIFY(document.convertTo(ScriptEncoding::Utf8WithBom));
        QCOMPARE(document.fileBytes(), "\xEF\xBB\xBF" + u"Привет\r\nМИР"_qs.toUtf8());
        // A UTF-8 text keeps every character; back in Windows-1251 each one it lacks is one "?",
        // and the selection stays on the same characters.
        const QString emoji = QString::fromUcs4(U"\U0001F600");
        document.setSelection(0, 0);
        document.replaceSelection(emoji + u"★"_qs);
        QCOMPARE(document.text(0, 3), emoji + u"★"_qs);
        document.setSelection(3, document.length());
        QCOMPARE(document.missingCharacters(ScriptEncoding::Windows1251), 2);
        QCOMPARE(document.missingCharacters(ScriptEncoding::Utf8), 0);
        QVERIFY(document.convertTo(ScriptEncoding::Windows1251));
        QCOMPARE(document.wholeText(), u"??Привет\r\nМИР"_qs);
        QCOMPARE(document.fileBytes(), "??\xCF\xF0\xE8\xE2\xE5\xF2\r\n\xCC\xC8\xD0"_qba);
        QCOMPARE(document.selectedText(), u"Привет\r\nМИР"_qs);
        QCOMPARE(encodings.count(), 3);
        // A text loaded as characters keeps the encoding; a file's bytes bring their own.
        document.loadText(emoji);
        QCOMPARE(document.wholeText(), u"?"_qs);
        document.loadFile(emoji.toUtf8());
        QCOMPARE(document.encoding(), ScriptEncoding::Utf8);
        document.loadText(emoji);
        QCOMPARE(document.wholeText(), emoji);
    }

    void whileAFileLoadsNothingChanges()
    {
        ScriptDocument document;
        document.loadText(u"old\ntext"_qs);
        document.setSelection(1, 2);
        document.replaceSelection(u"L"_qs);
        document.setLoadingProgress(40);
        QSignalSpy changes(&document, &ScriptDocument::changed);
        QSignalSpy moves(&document, &ScriptDocument::selectionChanged);
        QVERIFY(!document.setSelection(0, 5));
        QVERIFY(!document.replaceSelection(u"x"_qs, Kind::Typing));
        QVERIFY(!document.replace(0, 3, u"x"_qs));
        QVERIFY(!document.removeSelectionOr(0, 3, Kind::DeletingBackward));
        QVERIFY(!document.setLine(0, u"x"_qs));
        QVERIFY(!document.clearLines());
        QVERIFY(!document.appendAsLine(u"x"_qs));
        QVERIFY(!document.replaceRanges({{0, 1}}, u"x"_qs));
        QVERIFY(!document.insertSelected(0, u"x"_qs));
        QVERIFY(!document.moveSelection(0));
        QVERIFY(!document.undo());
        QCOMPARE(changes.count() + moves.count(), 0);
        QCOMPARE(document.wholeText(), u"oLd\r\ntext"_qs);
        QCOMPARE(document.caret(), qsizetype(2));
        document.loadText(u"new"_qs);
        QVERIFY(!document.isLoading());
        QVERIFY(document.appendAsLine(u"x"_qs));
    }

    void randomEditsMatchAPlainModel_data()
    {
        QTest::addColumn<ScriptEncoding>("encoding");
        QTest::newRow("Windows-1251") << ScriptEncoding::Windows1251;
        QTest::newRow("UTF-8") << ScriptEncoding::Utf8;
    }

    void randomEditsMatchAPlainModel()
    {
        // The document against a model of text and selection, with an undo list of whole texts and
        // selections: every step compares text, file bytes, selection, line index and the last
        // change; every undo and redo the selection it brings back; now and then the line states.
        // A few seconds here; ORL_RANDOM_SECONDS runs it longer.
        QFETCH(ScriptEncoding, encoding);
        bool set = false;
        const int seconds = qEnvironmentVariableIntValue("ORL_RANDOM_SECONDS", &set);
        QElapsedTimer clock;
        clock.start();
        const QStringList pieces{u"a"_qs, u"bc"_qs, u"\n"_qs, u"x\r\ny"_qs, u"\r\n\r\n"_qs, u"{"_qs, u"}"_qs,
                                 u"ж"_qs, u" слово "_qs, QString(), u"\r"_qs, u"\u4E2D"_qs,
                                 QString::fromUcs4(U"\U0001F600"), QString::fromUcs4(U"€\U0001F44Dё")};
        quint32 seed = 2024;
        int steps = 0;
        while (clock.elapsed() < (set ? seconds * 1000 : 1500)) {
            QRandomGenerator random(++seed);
            ScriptDocument document;
            document.setLineStyler(braceDepth);
            struct State {
                QString text;
                qsizetype anchor = 0, caret = 0;
            };
            State model{u"first line\r\n{ second }\r\n\r\nlast"_qs, 0, 0};
            document.loadText(model.text);
            if (ScriptText::isUtf8(encoding))
                document.convertTo(encoding);
            document.setSelection(0, 0);
            QList<std::pair<State, State>> undo, redo; // before and after each step
            const auto snapped = [&](qsizetype at) {
                at = qBound<qsizetype>(0, at, model.text.size());
                if (at > 0 && at < model.text.size() && model.text[at].isLowSurrogate())
                    return at - 1;
                return at > 0 && at < model.text.size() && model.text[at] == u'\n' && model.text[at - 1] == u'\r' ? at - 1 : at;
            };
            const auto anywhere = [&] { return snapped(random.bounded(int(model.text.size()) + 1)); };
            const auto piece = [&] { return pieces.at(random.bounded(int(pieces.size()))); };
            const auto entered = [&](const QString &text) { return enteredText(text, encoding); };
            for (int step = 0; step < 300; ++step, ++steps) {
                const State before = model;
                const qsizetype start = qMin(model.anchor, model.caret);
                const qsizetype length = qAbs(model.caret - model.anchor);
                bool changed = false;
                bool history = false;
                switch (random.bounded(10)) {
                case 0: case 1: { // select
                    const qsizetype anchor = anywhere();
                    const qsizetype caret = random.bounded(2) ? anchor : anywhere();
                    document.setSelection(anchor, caret);
                    model.anchor = anchor;
                    model.caret = caret;
                    break;
                }
                case 2: case 3: { // type, paste, replace the selection
                    const QString text = entered(piece());
                    changed = document.replaceSelection(text);
                    QCOMPARE(changed, length > 0 || !text.isEmpty());
                    model.text.replace(start, length, text);
                    model.anchor = model.caret = start + text.size();
                    break;
                }
                case 4: { // delete or backspace, the selection or a character
                    const bool forward = random.bounded(2);
                    const qsizetype from = forward ? model.caret : document.previousCharacter(model.caret);
                    const qsizetype to = forward ? document.nextCharacter(model.caret) : model.caret;
                    // A step takes one character: a line break and a surrogate pair are one.
                    QVERIFY(to - from <= 2 && (to - from < 2 || model.text[from] == u'\r' || model.text[from].isHighSurrogate()));
                    changed = document.removeSelectionOr(from, to, Kind::Other);
                    const qsizetype cut = length > 0 ? start : from;
                    const qsizetype cutLength = length > 0 ? length : to - from;
                    model.text.remove(cut, cutLength);
                    model.anchor = model.caret = cut;
                    QCOMPARE(changed, cutLength > 0);
                    break;
                }
                case 5: { // a line replaced, or a line appended
                    const QString text = piece();
                    if (random.bounded(2)) {
                        const int line = random.bounded(document.lineCount());
                        const qsizetype lineStart = document.lineStart(line);
                        const qsizetype lineLength = document.lineLength(line);
                        changed = document.setLine(line, text);
                        model.text.replace(lineStart, lineLength, entered(text));
                        model.anchor = snapped(model.anchor);
                        model.caret = snapped(model.caret);
                        QCOMPARE(changed, lineLength > 0 || !entered(text).isEmpty());
                    } else {
                        changed = document.appendAsLine(text);
                        const bool endsWithBreak = model.text.isEmpty() || model.text.endsWith(u"\r\n"_qs);
                        model.text += endsWithBreak ? entered(text) + u"\r\n"_qs : u"\r\n"_qs + entered(text);
                        model.anchor = model.caret = model.text.size();
                        QVERIFY(changed);
                    }
                    break;
                }
                case 6: { // Replace All
                    QList<ScriptDocument::Range> ranges;
                    qsizetype at = 0;
                    while (ranges.size() < 4) {
                        at = snapped(at + random.bounded(12));
                        const qsizetype end = snapped(at + random.bounded(5));
                        if (end < at || at >= model.text.size())
                            break;
                        ranges.append({at, end - at});
                        at = end;
                    }
                    const QString text = entered(piece());
                    changed = document.replaceRanges(ranges, text);
                    bool any = false;
                    for (auto range = ranges.crbegin(); range != ranges.crend(); ++range) {
                        any = any || range->length > 0 || !text.isEmpty();
                        model.text.replace(range->start, range->length, text);
                    }
                    QCOMPARE(changed, any);
                    if (any) {
                        qsizetype caret = ranges.constLast().start + text.size();
                        for (qsizetype i = 0; i + 1 < ranges.size(); ++i)
                            caret += text.size() - ranges.at(i).length;
                        model.anchor = model.caret = caret;
                    }
                    break;
                }
                case 7: { // a drop: from elsewhere, or the selection dragged within the text
                    const qsizetype at = anywhere();
                    if (random.bounded(2)) {
                        const QString text = entered(piece());
                        changed = document.insertSelected(at, text);
                        QCOMPARE(changed, !text.isEmpty());
                        if (changed) {
                            model.text.insert(at, text);
                            model.anchor = at;
                            model.caret = at + text.size();
                        }
                    } else {
                        changed = document.moveSelection(at);
                        QCOMPARE(changed, length > 0 && (at < start || at > start + length));
                        if (changed) {
                            const QString moved = model.text.mid(start, length);
                            model.text.remove(start, length);
                            const qsizetype to = at > start ? at - length : at;
                            model.text.insert(to, moved);
                            model.anchor = to;
                            model.caret = to + length;
                        }
                    }
                    break;
                }
                case 8: // undo
                    history = true;
                    QCOMPARE(document.undo(), !undo.isEmpty());
                    if (!undo.isEmpty()) {
                        redo.append(undo.takeLast());
                        model = redo.last().first;
                    }
                    break;
                case 9: // redo
                    history = true;
                    QCOMPARE(document.redo(), !redo.isEmpty());
                    if (!redo.isEmpty()) {
                        undo.append(redo.takeLast());
                        model = undo.last().second;
                    }
                    break;
                }
                if (changed && !history) {
                    undo.append({before, model});
                    redo.clear();
                }
                QCOMPARE(document.wholeText(), model.text);
                QCOMPARE(document.length(), model.text.size());
                QCOMPARE(document.fileBytes(), ScriptText::encodedText(model.text, encoding));
                QCOMPARE(document.anchor(), model.anchor);
                QCOMPARE(document.caret(), model.caret);
                QCOMPARE(document.lineCount(), int(model.text.count(u"\r\n"_qs)) + 1);
                if (changed || (history && document.wholeText() != before.text))
                    QVERIFY(changeExplains(document, before.text));
                const int probe = random.bounded(document.lineCount());
                const qsizetype probeStart = probe == 0 ? 0 : model.text.indexOf(u"\r\n"_qs, document.lineStart(probe - 1)) + 2;
                QCOMPARE(document.lineStart(probe), probeStart);
                const qsizetype within = snapped(probeStart + random.bounded(8));
                QCOMPARE(document.lineOf(within), probe + int(model.text.mid(probeStart, within - probeStart).count(u"\r\n"_qs)));
                QCOMPARE(document.offsetOfByte(document.byteOffset(within)), within);
                document.lineStartState(random.bounded(document.lineCount()));
                if (step % 50 == 49)
                    QVERIFY(statesAreFresh(document));
            }
        }
        qInfo("%d random steps", steps);
    }
};

QTEST_GUILESS_MAIN(ScriptDocumentTest)
#include "test_script_document.moc"
