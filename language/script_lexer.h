#pragma once

#include <QList>
#include <QStringList>
#include <QStringView>
#include <QVarLengthArray>
#include <QtGlobal>

// What a run of characters of a script line is.
enum class TokenKind : quint8 {
    Comment,          // ";" lines, "/* ... */" blocks, "; ..." and "rem ..." statements
    Keyword,          // alias, on, ctcp, raw, menu, dialog, #group on|off|end, [section], dialog table words
    BlockName,        // the name after alias/menu/dialog, an alias-file alias name
    EventHeader,      // the level, match and target fields of an on/ctcp/raw header, with its colons
    Event,            // the event name of an "on" header, known to the catalogue
    UnknownEvent,     // an event name the catalogue does not list
    Command,          // a catalogue command at command position, with its / ! . prefixes
    UnknownCommand,   // any other word at command position (a custom alias call)
    Identifier,       // a catalogue identifier or a built-in form: $calc, $1-, $$2, $+, $!, $?, $(
    CustomIdentifier, // any other $name
    Variable,         // %name, &binvar
    Channel,          // #name, and # alone
    Number,           // 12, -3, 1.5 standing as words
    ControlCode,      // 0x02 bold, 0x03 colour with its digits, 0x0F, 0x16, 0x1D, 0x1F
    LinePrefix,       // the "n12=" before each line of an INI-format script
};
constexpr int kTokenKindCount = int(TokenKind::LinePrefix) + 1;

// A run of characters of one line: [start, start + length) in QChars of the line.
struct ScriptToken {
    int start = 0;
    int length = 0;
    TokenKind kind = TokenKind::Comment;
    friend bool operator==(const ScriptToken &, const ScriptToken &) = default;
};

// What a line leaves to the next: four bytes, so that an editor can keep one per line.
struct LexerState {
    enum Block : quint8 {
        TopLevel, // outside every { } block
        Code,     // in an alias, event, ctcp or raw body
        Menu,     // in a menu definition: item lines at depth 1, code below
        Dialog,   // in a dialog table
    };
    enum Flag : quint8 {
        InBlockComment = 1, // inside "/*" ... "*/"
        Continued = 2,      // the previous line ended with "$&": this one continues its statement
        PopupSection = 4,   // in an INI script's popup section ([mpopup], [cpopup] ...): menu items
        AliasSection = 8,   // in an INI script's [aliases] section: "/name commands" lines
    };

    quint16 depth = 0; // open { } blocks
    Block block = TopLevel;
    quint8 flags = 0;

    bool inBlockComment() const { return flags & InBlockComment; }
    bool continued() const { return flags & Continued; }
    // Inside a body, where a line holds commands: an alias, event or menu item's { }.
    bool inBody() const { return depth > 0 && !(block == Dialog && depth == 1) && !(block == Menu && depth == 1); }

    // The state as one int >= 0 (for QTextBlock::userState, where -1 means "not known").
    int packed() const { return int(depth) | int(block) << 16 | int(flags) << 24; }
    static LexerState unpacked(int value);

    friend bool operator==(const LexerState &, const LexerState &) = default;
};

// Classification of mIRC script one line at a time, from the state the previous line left.
namespace ScriptLexer {

// Appends the line's tokens to tokens (sorted, not overlapping; characters in no token are plain
// text) and returns the state for the next line. When commandStarts is given, it receives the
// columns where a command may begin (for completion on an empty command).
LexerState classifyLine(QStringView line, LexerState state, QList<ScriptToken> *tokens,
                        QList<int> *commandStarts = nullptr);

// The same, returning the tokens.
QList<ScriptToken> tokensOf(QStringView line, LexerState state = {});

// The column of the first character at or after i that is no blank (space or tab), or the line's end.
inline int skipBlanks(QStringView line, int i)
{
    while (i < line.size() && (line[i] == u' ' || line[i] == u'\t'))
        ++i;
    return i;
}

// The column of the first blank at or after i, or the line's end.
inline int wordEnd(QStringView line, int i)
{
    while (i < line.size() && line[i] != u' ' && line[i] != u'\t')
        ++i;
    return i;
}

// The length of the "n12=" that starts each line of an INI-format script, or 0.
int linePrefixLength(QStringView line);

// A stretch [start, end) of a line.
struct LineSpan {
    int start = 0;
    int end = 0;
};

// The block braces and the comment statements of a code line (one that neither starts with ';'
// nor lies in a /* */ block): what the brace check counts, and where the colouring opens and
// closes blocks, whatever the header before a brace. As mIRC counts them, a block brace is a "{"
// standing as a word or right after a colon ("...:#:{", "Item:{"), or a "}" standing as a word;
// lineStart is where the line's text starts (after an INI prefix). A statement starts at the line's first word
// and after " | " and block braces; one that starts with ';' or the word rem is a comment up to
// " | " or a closing "}" standing as a word, one that starts with "/*" a comment to the line's end.
struct CodeLayout {
    QVarLengthArray<int, 8> braces;        // columns, left to right
    QVarLengthArray<LineSpan, 2> comments; // left to right
    bool inComment(int column) const;
};
CodeLayout codeLayout(QStringView line, int lineStart = 0);

// Whether the word [i, end) starts a comment statement: ";...", "/*...", or rem.
bool isCommentWord(QStringView line, int i, int end);

// Where a comment statement starting at i ends: a ';' or rem comment at the word " | " or a
// closing "}" standing as a word after it, or at limit; a "/*" comment at limit.
int commentEnd(QStringView line, int i, int limit);

// The state after a run of lines, for tests and for a first pass without tokens.
LexerState stateAfter(const QStringList &lines, LexerState state = {});

} // namespace ScriptLexer
