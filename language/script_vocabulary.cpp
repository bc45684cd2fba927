#include "language/script_vocabulary.h"

#include "language/snippet_tables.h"

#include <QFile>
#include <QHash>
#include <QMap>
#include <QSet>

#include <algorithm>

namespace {

char16_t folded(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'A' && u <= u'Z')
        return char16_t(u + 32);
    if (u < 0x80)
        return u;
    return c.toLower().unicode();
}

quint32 nameHash(QStringView name)
{
    quint32 hash = 2166136261u;
    for (QChar c : name) {
        hash ^= folded(c);
        hash *= 16777619u;
    }
    return hash;
}

bool isAsciiLetter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// $3, $3-, $3-5: the positional parameters, all documented by the row "$1-".
bool isParameterName(QStringView name)
{
    qsizetype i = 0;
    while (i < name.size() && isAsciiDigit(name[i]))
        ++i;
    if (i == 0)
        return false;
    if (i < name.size() && name[i] == u'-')
        ++i;
    while (i < name.size() && isAsciiDigit(name[i]))
        ++i;
    return i == name.size();
}

// Pieces of a row split at the given separator, outside parentheses.
QList<QStringView> topLevelPieces(QStringView row, QStringView separators)
{
    QList<QStringView> pieces;
    int depth = 0;
    qsizetype start = 0;
    for (qsizetype i = 0; i < row.size(); ++i) {
        const QChar c = row[i];
        if (c == u'(')
            ++depth;
        else if (c == u')')
            depth = std::max(0, depth - 1);
        else if (depth == 0 && separators.contains(c)) {
            pieces.append(row.sliced(start, i - start).trimmed());
            start = i + 1;
        }
    }
    pieces.append(row.sliced(start).trimmed());
    return pieces;
}

// The name of one "$name..." piece of an identifier row, or an empty string.
QString identifierNameOf(QStringView piece)
{
    if (piece.size() < 2 || piece[0] != u'$')
        return {};
    const QStringView rest = piece.sliced(1);
    qsizetype n = 0;
    if (isAsciiDigit(rest[0])) {
        while (n < rest.size() && isAsciiDigit(rest[n]))
            ++n;
        if (n < rest.size() && rest[n] == u'-')
            ++n;
    } else if (isAsciiLetter(rest[0])) {
        while (n < rest.size() && (isAsciiLetter(rest[n]) || isAsciiDigit(rest[n])))
            ++n;
    } else if (QStringView(u"+?&!~*").contains(rest[0])) {
        n = 1;
    }
    return rest.first(n).toString().toLower();
}

QString firstWord(QStringView text)
{
    const QStringView trimmed = text.trimmed();
    qsizetype end = 0;
    while (end < trimmed.size() && !trimmed[end].isSpace())
        ++end;
    return trimmed.first(end).toString();
}

// Rows grouped by name, each text once, names sorted.
using RowsByName = QMap<QString, QStringList>;

void addRow(RowsByName &byName, const QString &name, const QString &row)
{
    if (name.isEmpty())
        return;
    QStringList &rows = byName[name];
    if (!rows.contains(row))
        rows.append(row);
}

QList<VocabularyEntry> entriesOf(const RowsByName &byName)
{
    QList<VocabularyEntry> entries;
    entries.reserve(byName.size());
    for (auto it = byName.cbegin(); it != byName.cend(); ++it) {
        VocabularyEntry entry;
        entry.name = it.key();
        entry.rows = it.value();
        entries.append(entry);
    }
    return entries;
}

int compareFolded(QStringView a, QStringView b)
{
    return a.compare(b, Qt::CaseInsensitive);
}

// The syntax rows of a vocabulary file's text with their line numbers (from 1) and the kind of
// their section; a null kind for a row outside the three sections.
template <typename Visit>
void forEachRow(QStringView text, Visit &&visit)
{
    static constexpr WordKind kinds[] = {WordKind::Command, WordKind::Identifier, WordKind::Event};
    const WordKind *kind = nullptr;
    int number = 0;
    for (QStringView line : text.split(u'\n')) {
        ++number;
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        if (line.startsWith(u'[')) {
            if (line == u"[commands]")
                kind = &kinds[0];
            else if (line == u"[identifiers]")
                kind = &kinds[1];
            else if (line == u"[events]")
                kind = &kinds[2];
            else
                kind = nullptr;
            continue;
        }
        visit(number, kind, line);
    }
}

// "on <level>:NAME:<field>:...:<commands>" with a name of letters and digits ("MP3END") and each
// field in angle brackets.
bool isEventRow(QStringView row)
{
    const QList<QStringView> parts = row.split(u':');
    if (parts.size() < 3 || parts.first() != u"on <level>" || parts.last() != u"<commands>")
        return false;
    const QStringView name = parts.at(1);
    const auto nameChar = [](QChar c) { return isAsciiLetter(c) || isAsciiDigit(c); };
    if (name.isEmpty() || !isAsciiLetter(name[0]) || !std::all_of(name.cbegin(), name.cend(), nameChar))
        return false;
    for (qsizetype i = 2; i + 1 < parts.size(); ++i) {
        const QStringView field = parts.at(i);
        if (field.size() < 3 || !field.startsWith(u'<') || !field.endsWith(u'>'))
            return false;
    }
    return true;
}

} // namespace

namespace VocabularyRows {

QStringList statements(const QString &row)
{
    QStringList parts;
    qsizetype start = 0;
    for (qsizetype i = 0; i < row.size(); ++i) {
        const QChar c = row[i];
        if ((c == u'&' || c == u'$') && QStringView(row).first(i).trimmed().endsWith(u'}')) {
            parts.append(row.mid(start, i - start).trimmed());
            start = i + 1;
        }
    }
    parts.append(start == 0 ? row : row.mid(start).trimmed());
    return parts;
}

QStringList commandNames(const QString &row)
{
    QStringList names;
    for (const QString &statement : statements(row)) {
        QString word = firstWord(statement).toLower();
        const qsizetype bracket = word.indexOf(u'[');
        if (bracket >= 0)
            word.truncate(bracket);
        if (!word.isEmpty() && isAsciiLetter(word[0]) && !names.contains(word))
            names.append(word);
    }
    return names;
}

QStringList identifierNames(const QString &row)
{
    QStringList names;
    for (QStringView piece : topLevelPieces(row, u",=")) {
        const QString name = identifierNameOf(piece);
        if (!name.isEmpty() && !names.contains(name))
            names.append(name);
    }
    return names;
}

QString eventName(const QString &row)
{
    const qsizetype first = row.indexOf(u':');
    const qsizetype second = first < 0 ? -1 : row.indexOf(u':', first + 1);
    if (second < 0)
        return {};
    return row.mid(first + 1, second - first - 1).toLower();
}

QStringList dialogItemNames(const QString &row)
{
    QStringList names;
    for (QStringView piece : QStringView(row).split(u'&')) {
        const QString word = firstWord(piece).toLower();
        const bool letters = !word.isEmpty() && std::all_of(word.cbegin(), word.cend(), isAsciiLetter);
        if (letters && word != u"on" && !names.contains(word))
            names.append(word);
    }
    return names;
}

namespace {

// One syntax row read as a word of its section's kind; the name is empty where the row names none.
VocabularyWord wordOfRow(QStringView line, WordKind kind)
{
    VocabularyWord word;
    word.kind = kind;
    word.syntax = line.toString();
    if (kind == WordKind::Command) {
        const QStringList names = commandNames(word.syntax);
        word.name = names.isEmpty() ? QString() : names.first();
    } else if (kind == WordKind::Identifier) {
        const qsizetype props = line.indexOf(u" props:");
        if (props >= 0) {
            word.syntax = line.first(props).trimmed().toString();
            word.properties = line.sliced(props + 7).toString().toLower().split(u' ', Qt::SkipEmptyParts);
        }
        word.name = identifierNameOf(word.syntax);
    } else {
        // "on <level>:NAME:<field>:...:<commands>": the name, then the fields before <commands>.
        const QList<QStringView> parts = line.split(u':');
        if (parts.size() >= 3) {
            word.name = parts.at(1).toString().toLower();
            word.fields = int(parts.size()) - 3;
        }
    }
    return word;
}

} // namespace

QList<VocabularyWord> vocabularyWords(const QString &text)
{
    QList<VocabularyWord> words;
    forEachRow(text, [&words](int, const WordKind *kind, QStringView row) {
        if (!kind)
            return;
        VocabularyWord word = wordOfRow(row, *kind);
        if (!word.name.isEmpty())
            words.append(word);
    });
    return words;
}

QStringList vocabularyProblems(const QString &text)
{
    QStringList problems;
    struct Seen {
        QString lastName;
        QSet<QString> names;
        QSet<QString> rows;
        QHash<QString, int> fields;
    } seen[3];
    forEachRow(text, [&](int number, const WordKind *kind, QStringView row) {
        const QString at = QStringLiteral("line %1: ").arg(number);
        if (!kind) {
            problems.append(at + QStringLiteral("outside the [commands], [identifiers] and [events] sections"));
            return;
        }
        const VocabularyWord word = wordOfRow(row, *kind);
        if (word.name.isEmpty()) {
            problems.append(at + QStringLiteral("names no word"));
            return;
        }
        if (*kind == WordKind::Identifier && row.contains(u"props:") && word.properties.isEmpty())
            problems.append(at + QStringLiteral("\"props:\" lists no property"));
        if (*kind == WordKind::Event && !isEventRow(row))
            problems.append(at + QStringLiteral("not an \"on <level>:NAME:<field>:...:<commands>\" row"));
        Seen &s = seen[int(*kind)];
        if (s.rows.contains(word.syntax))
            problems.append(at + QStringLiteral("the same row twice"));
        else if (word.name != s.lastName && s.names.contains(word.name))
            problems.append(at + word.name + QStringLiteral(" again, apart from its other forms"));
        if (*kind == WordKind::Event && s.fields.value(word.name, word.fields) != word.fields)
            problems.append(at + QStringLiteral("a form of %1 with another number of fields").arg(word.name));
        s.rows.insert(word.syntax);
        s.names.insert(word.name);
        s.fields.insert(word.name, s.fields.value(word.name, word.fields));
        s.lastName = word.name;
    });
    return problems;
}

} // namespace VocabularyRows

bool VocabularyEntry::hasProperty(QStringView property) const
{
    for (const QString &known : properties) {
        if (compareFolded(known, property) == 0)
            return true;
    }
    return false;
}

QStringList VocabularyEntry::tipLines() const
{
    if (rows.isEmpty())
        return syntax;
    QStringList lines;
    for (const QString &row : rows)
        lines += VocabularyRows::statements(row);
    return lines;
}

void ScriptVocabulary::NameIndex::build(const QList<VocabularyEntry> &entries)
{
    quint32 size = 16;
    while (size < quint32(entries.size()) * 2)
        size *= 2;
    m_slots.assign(size, 0);
    m_mask = size - 1;
    for (int i = 0; i < entries.size(); ++i) {
        quint32 slot = nameHash(entries.at(i).name) & m_mask;
        while (m_slots[slot] != 0)
            slot = (slot + 1) & m_mask;
        m_slots[slot] = i + 1;
    }
}

int ScriptVocabulary::NameIndex::find(const QList<VocabularyEntry> &entries, QStringView name) const
{
    if (m_slots.empty() || name.isEmpty())
        return -1;
    for (quint32 slot = nameHash(name) & m_mask; m_slots[slot] != 0; slot = (slot + 1) & m_mask) {
        const int entry = m_slots[slot] - 1;
        if (compareFolded(entries.at(entry).name, name) == 0)
            return entry;
    }
    return -1;
}

const ScriptVocabulary &ScriptVocabulary::instance()
{
    static const ScriptVocabulary vocabulary;
    return vocabulary;
}

ScriptVocabulary::ScriptVocabulary()
{
    RowsByName commands;
    for (const QString &row : snippetTable(SnippetTable::Commands)) {
        for (const QString &name : VocabularyRows::commandNames(row))
            addRow(commands, name, row);
    }
    RowsByName identifiers;
    for (const QString &row : snippetTable(SnippetTable::Identifiers)) {
        for (const QString &name : VocabularyRows::identifierNames(row))
            addRow(identifiers, name, row);
    }
    RowsByName events;
    for (const QString &row : snippetTable(SnippetTable::EventHeaders))
        addRow(events, VocabularyRows::eventName(row), row);
    RowsByName dialogItems;
    for (const QString &row : snippetTable(SnippetTable::DialogTemplates)) {
        for (const QString &name : VocabularyRows::dialogItemNames(row))
            addRow(dialogItems, name, row);
    }

    // mIRC's own vocabulary, shipped with the program: every word it names gets an entry, with
    // the catalogue's rows where the catalogue has the word too, and the rows of all its forms.
    QFile file(QStringLiteral(":/language/mirc_vocabulary.txt"));
    const QList<VocabularyWord> words = file.open(QIODevice::ReadOnly)
        ? VocabularyRows::vocabularyWords(QString::fromUtf8(file.readAll()))
        : QList<VocabularyWord>();
    QMap<QString, QList<const VocabularyWord *>> described[3];
    for (const VocabularyWord &word : words)
        described[int(word.kind)][word.name].append(&word);
    RowsByName *byKind[] = {&commands, &identifiers, &events};
    for (int k = 0; k < 3; ++k) {
        for (auto it = described[k].cbegin(); it != described[k].cend(); ++it)
            (*byKind[k])[it.key()];
    }

    const std::pair<Table *, const RowsByName *> tables[] = {
        {&m_commands, &commands}, {&m_identifiers, &identifiers}, {&m_events, &events},
        {&m_dialogItems, &dialogItems}};
    for (const auto &[target, rows] : tables) {
        target->entries = entriesOf(*rows);
        target->index.build(target->entries);
    }
    Table *withWords[] = {&m_commands, &m_identifiers, &m_events};
    for (int k = 0; k < 3; ++k) {
        for (VocabularyEntry &entry : withWords[k]->entries) {
            const QList<const VocabularyWord *> forms = described[k].value(entry.name);
            for (const VocabularyWord *form : forms) {
                entry.syntax.append(form->syntax);
                for (const QString &property : form->properties) {
                    if (!entry.properties.contains(property))
                        entry.properties.append(property);
                }
            }
            if (!forms.isEmpty())
                entry.fields = forms.first()->fields;
        }
    }
}

const ScriptVocabulary::Table &ScriptVocabulary::table(WordKind kind) const
{
    switch (kind) {
    case WordKind::Command:
        return m_commands;
    case WordKind::Identifier:
        return m_identifiers;
    case WordKind::Event:
        return m_events;
    case WordKind::DialogItem:
        break;
    }
    return m_dialogItems;
}

const QList<VocabularyEntry> &ScriptVocabulary::entries(WordKind kind) const
{
    return table(kind).entries;
}

const VocabularyEntry *ScriptVocabulary::find(WordKind kind, QStringView name) const
{
    const Table &t = table(kind);
    if (kind == WordKind::Identifier && isParameterName(name))
        name = name == u"0" ? QStringView(u"0") : QStringView(u"1-");
    const int entry = t.index.find(t.entries, name);
    return entry < 0 ? nullptr : &t.entries.at(entry);
}

QList<const VocabularyEntry *> ScriptVocabulary::withPrefix(WordKind kind, QStringView prefix, int limit) const
{
    QList<const VocabularyEntry *> found;
    const QList<VocabularyEntry> &all = table(kind).entries;
    auto it = std::lower_bound(all.cbegin(), all.cend(), prefix, [](const VocabularyEntry &entry, QStringView p) {
        return compareFolded(entry.name, p) < 0;
    });
    for (; it != all.cend() && (limit < 0 || int(found.size()) < limit); ++it) {
        if (!it->name.startsWith(prefix, Qt::CaseInsensitive))
            break;
        found.append(&*it);
    }
    return found;
}

QStringList ScriptVocabulary::names(WordKind kind) const
{
    QStringList names;
    for (const VocabularyEntry &entry : table(kind).entries)
        names.append(entry.name);
    return names;
}
