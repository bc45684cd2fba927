#pragma once

#include <QList>
#include <QString>
#include <QStringView>

#include <optional>

// The steps of the find and replace dialogs as functions of the whole text, in which every line
// break is the two characters CR LF, the selection counted in characters of that text, the texts
// and the options.
namespace FindReplace {

inline const QString kNotFoundCaption = QStringLiteral("Текст не найден");
inline const QString kNotFoundText = QStringLiteral("Извините но текст не найден");

// The dialogs' text fields hold at most this many characters.
inline constexpr qsizetype kMaxFieldLength = 255;

enum class Direction { Down, Up };

struct Options {
    bool matchCase = false;
    bool wholeWord = false;
    Direction direction = Direction::Down;
};

struct Selection {
    qsizetype start = 0;
    qsizetype length = 0;
    friend bool operator==(const Selection &, const Selection &) = default;
};

// What a replacement does to the text: the characters [start, start + length) become text.
struct Replacement {
    qsizetype start = 0;
    qsizetype length = 0;
    QString text;
    friend bool operator==(const Replacement &, const Replacement &) = default;
};

struct ReplaceAllResult {
    QString text;
    qsizetype count = 0;
};

// Letters, digits and "_" make up words; any other character, and the edge of the text, ends one.
bool isWordCharacter(QChar c);

// Lower case character by character, so that offsets in the result are those of the text.
QString lowered(QStringView text);
void lowerInto(QStringView text, QString &out);

// The text cut to what a dialog field holds.
QString fieldText(const QString &text);

// A text to find, prepared once for many searches of the same options.
class Pattern {
public:
    Pattern(QStringView text, const Options &options);

    bool isEmpty() const { return m_text.isEmpty(); }
    qsizetype length() const { return m_text.size(); }
    // True when the text holds a CR or LF, so that a match may run over a line break.
    bool spansLines() const { return m_spansLines; }

    // First match in text that starts at or after from, or -1. The edges of text count as
    // the edges of words.
    qsizetype indexIn(QStringView text, qsizetype from = 0) const;
    // Last match in text that ends at or before end, or -1.
    qsizetype lastIndexIn(QStringView text, qsizetype end) const;
    // Every match, left to right, each one starting after the end of the one before.
    QList<qsizetype> allIn(QStringView text) const;

private:
    // Matches in hay, which holds text from offset base on, lower-cased where case does not
    // matter; the neighbours of a match are looked up in text (lower-casing keeps letters letters).
    qsizetype firstMatch(QStringView text, QStringView hay, qsizetype base, qsizetype from) const;
    qsizetype lastMatch(QStringView text, QStringView hay, qsizetype base, qsizetype end) const;
    bool isWholeWordAt(QStringView text, qsizetype at) const;
    QStringView searchable(QStringView text, qsizetype from, qsizetype to) const;

    QString m_text;
    bool m_matchCase;
    bool m_wholeWord;
    bool m_spansLines;
    mutable QString m_scratch;
};

// Where the find step starts: right after the selection going down, at its start going up.
qsizetype searchOrigin(Selection selection, Direction direction);

// The find step: the match that becomes the selection, or nothing (the not-found message).
// Going down, a match starts at or after the origin; going up, it ends at or before it and is
// the nearest one. There is no wrap-around, and an empty text to find has no match.
std::optional<Selection> findStep(QStringView text, Selection selection, QStringView what, const Options &options);

// The replace step: whatever the selection holds becomes the replacement; with nothing selected,
// nothing (the not-found message).
std::optional<Replacement> replaceStep(Selection selection, const QString &replacement);

// Every occurrence, left to right, each one starting after the end of the one before.
QList<qsizetype> occurrences(QStringView text, QStringView what, const Options &options);

// Replace All: every occurrence replaced; a count of 0 leaves the text as it was.
ReplaceAllResult replaceAll(QStringView text, QStringView what, QStringView replacement, const Options &options);

} // namespace FindReplace
