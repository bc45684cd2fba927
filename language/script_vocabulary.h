#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <vector>

// The kinds of words the catalogue knows.
enum class WordKind {
    Command,    // "hadd", "echo", "timer"
    Identifier, // "address", "calc", "+", "?", "0", "1-"
    Event,      // "text", "join", "dialog"
    DialogItem, // the first words of dialog table lines: "title", "button", "combo"
};

// One word the catalogue knows, with the catalogue rows that document it.
struct VocabularyEntry {
    QString name;     // lower case, without the sigil: "hadd", "address", "text"
    QStringList rows; // the rows documenting it, in catalogue order, each text once
};

// The word lists derived from the catalogue tables, built once and shared; lookups ignore case.
class ScriptVocabulary {
public:
    static const ScriptVocabulary &instance();

    // Every entry of a kind, sorted by name.
    const QList<VocabularyEntry> &entries(WordKind kind) const;

    // The entry of a name, any case, or nullptr. For identifiers the positional parameters
    // $2, $3-, $2-5 are found as the catalogue's "$1-" and $0 as "$0".
    const VocabularyEntry *find(WordKind kind, QStringView name) const;
    bool contains(WordKind kind, QStringView name) const { return find(kind, name) != nullptr; }

    // The entries whose names start with prefix (any case), sorted by name, at most limit.
    QList<const VocabularyEntry *> withPrefix(WordKind kind, QStringView prefix, int limit) const;

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

// Name extraction from single catalogue rows, exposed for tests of the odd rows.
namespace VocabularyRows {
// "hadd -smbczuN <name> ..." -> {"hadd"}; "if ( ) { }&elseif ( ) { }$else { }" -> {"if", "elseif", "else"}
QStringList commandNames(const QString &row);
// "$abook(nick,N)" -> {"abook"}; "$cos(N), $acos(N)" -> {"cos", "acos"}; "$(...)" -> {}
QStringList identifierNames(const QString &row);
// "on *:text:" -> "text"
QString eventName(const QString &row);
// "button \"[text]\", id, ..." -> {"button"}; the dialog template row -> {"dialog", "title", "size", "option"}
QStringList dialogItemNames(const QString &row);
} // namespace VocabularyRows
