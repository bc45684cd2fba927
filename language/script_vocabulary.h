#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <vector>

// The kinds of words the language support knows.
enum class WordKind {
    Command,    // "hadd", "echo", "timer"
    Identifier, // "address", "calc", "+", "?", "0", "1-"
    Event,      // "text", "join", "dialog"
    DialogItem, // the first words of dialog table lines: "title", "button", "combo"
};

// One word of mIRC's, with the catalogue rows and the syntax rows that document it.
struct VocabularyEntry {
    QString name;     // lower case, without the sigil: "hadd", "address", "text"
    QStringList rows; // the catalogue rows documenting it, in catalogue order, each text once
    // Its rows in mIRC's vocabulary, one per form: {"$nick", "$nick(#channel,N|nick,...)"};
    // {"on <level>:TEXT:<matchtext>:<*|#|?|=|!>:<commands>"}.
    QStringList syntax;
    QStringList properties; // an identifier's properties over all its forms, lower case: "topic", "mode" for $chan
    int fields = -1;        // an event's fields after its name in an "on" header; -1 where unknown

    bool hasProperty(QStringView property) const;
    // What a tip shows: the catalogue's rows where it has some, else the syntax rows; a row holding
    // several statements (the if row) one statement a line.
    QStringList tipLines() const;
};

// The words of mIRC's language: its commands, identifiers and events from the vocabulary file
// shipped with the program, with the catalogue's rows beside them, and the dialog table words of
// the catalogue's templates. Built once and shared; lookups ignore case.
class ScriptVocabulary {
public:
    static const ScriptVocabulary &instance();

    // Every entry of a kind, sorted by name.
    const QList<VocabularyEntry> &entries(WordKind kind) const;

    // The entry of a name, any case, or nullptr. For identifiers the positional parameters
    // $2, $3-, $2-5 are found as the catalogue's "$1-" and $0 as "$0".
    const VocabularyEntry *find(WordKind kind, QStringView name) const;
    bool contains(WordKind kind, QStringView name) const { return find(kind, name) != nullptr; }

    // The entries whose names start with prefix (any case), sorted by name, at most limit (all
    // where limit is negative).
    QList<const VocabularyEntry *> withPrefix(WordKind kind, QStringView prefix, int limit = -1) const;

    // The names of a kind, sorted.
    QStringList names(WordKind kind) const;

private:
    ScriptVocabulary();

    // Open-addressing hash of lower-case names, looked up without building a string.
    class NameIndex {
    public:
        void build(const QList<VocabularyEntry> &entries);
        int find(const QList<VocabularyEntry> &entries, QStringView name) const;

    private:
        std::vector<int> m_slots; // entry index + 1; 0 marks an empty slot
        quint32 m_mask = 0;
    };

    struct Table {
        QList<VocabularyEntry> entries;
        NameIndex index;
    };

    const Table &table(WordKind kind) const;

    Table m_commands;
    Table m_identifiers;
    Table m_events;
    Table m_dialogItems;
};

// One line of the vocabulary file, read.
struct VocabularyWord {
    WordKind kind = WordKind::Command;
    QString name; // lower case, without the sigil
    QString syntax;
    QStringList properties;
    int fields = -1;
};

// Name extraction from single catalogue rows and vocabulary lines, exposed for tests of the odd rows.
namespace VocabularyRows {
// The statements of a row: "if ( ) { }&elseif ( ) { }$else { }" -> {"if ( ) { }", "elseif ( ) { }",
// "else { }"}: after a "}" a '&' or '$' starts the next one.
QStringList statements(const QString &row);
// "hadd -smbczuN <name> ..." -> {"hadd"}; "if ( ) { }&elseif ( ) { }$else { }" -> {"if", "elseif", "else"}
QStringList commandNames(const QString &row);
// "$abook(nick,N)" -> {"abook"}; "$cos(N), $acos(N)" -> {"cos", "acos"}; "$(...)" -> {}
QStringList identifierNames(const QString &row);
// "on *:text:" -> "text"
QString eventName(const QString &row);
// "button \"[text]\", id, ..." -> {"button"}; the dialog template row -> {"dialog", "title", "size", "option"}
QStringList dialogItemNames(const QString &row);
// The words of a vocabulary file's text: "[commands]", "[identifiers]" and "[events]" sections of
// syntax rows, '#' comment lines and blank lines skipped. A word's forms are separate words.
QList<VocabularyWord> vocabularyWords(const QString &text);
// What is wrong with a vocabulary file's text, one message a fault naming its line: a row outside
// the three sections, a row that names no word, an empty "props:", an event row that is not
// "on <level>:NAME:<field>:...:<commands>", a row given twice, a word whose forms are not side by
// side, an event whose forms hold different numbers of fields. Empty for a sound file.
QStringList vocabularyProblems(const QString &text);
} // namespace VocabularyRows
