#pragma once

#include "language/completion.h"
#include "language/script_colours.h"

#include <QObject>
#include <QPointer>
#include <QTimer>

class QListWidget;
class ScriptMemo;

// What an editor knows of mIRC script, laid over one text control: colours for the language's
// words, letters on mIRC's formatting codes, the partner of the bracket at the caret, completion
// of commands, identifiers and events, and their syntax rows as tips. It never changes the text
// by itself.
class ScriptAssist : public QObject {
    Q_OBJECT
public:
    // Texts longer than this are shown plain, so that opening and scrolling them stay as fast as
    // without colours.
    static constexpr qsizetype kHighlightLimit = qsizetype(10) << 20;

    explicit ScriptAssist(ScriptMemo *memo);
    ~ScriptAssist() override;

    bool highlighting() const { return m_highlighting; }
    bool completionShown() const;
    // The names the completion list offers, top to bottom.
    QStringList completionNames() const;

    // Offers the vocabulary entries for the word at the caret; with selectFirst, the first one is
    // chosen already so that Enter takes it.
    void showCompletion(bool selectFirst);
    void hideCompletion();
    // Puts the chosen entry's name in place of the word now at the caret.
    void acceptCompletion(int row);

    // The syntax rows of the command or identifier at an offset of the text.
    QStringList tipRowsAt(qsizetype offset) const;

signals:
    // Highlighting went on or off, as the text's size crossed the limit.
    void highlightingChanged(bool on);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void updateHighlighting();
    void markBrackets();
    void textTyped(const QString &text);
    void followCaret();
    bool fillCompletion(const TypedWord &word, const QString &keep, bool selectFirst);
    void showTipAtCaret();
    TypedWord typedWord() const;
    void placeCompletionList();
    void insertFormattingCode(QChar code);
    void paintControlLetters(const QRect &area);

    ScriptMemo *m_memo;
    QObject *m_viewport;
    bool m_highlighting = false;
    ScriptPalette m_palette = ScriptPalette::Light;
    QListWidget *m_completions = nullptr;
    TypedWord m_completedWord;
    int m_completedLine = -1;
    bool m_explicitCompletion = false; // opened by Ctrl+Space, not by typing
    bool m_painting = false;
    QTimer m_tipTimer;
};
