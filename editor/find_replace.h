#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringView>

#include <array>
#include <optional>

// The steps of the find and replace dialogs as functions of the whole text, as the editor holds
// it (Windows-1251 bytes, every line break the two characters CR LF), the selection counted in
// characters of that text, the texts and the options.
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

// Letters, digits and "_" make up words; any other character, and the edge of the text, ends one.
bool isWordCharacter(QChar c);

// The code page's bytes in lower case, byte for byte: what a search that ignores case compares.
QByteArray loweredBytes(QByteArrayView bytes);

// The text cut to what a dialog field holds.
QString fieldText(const QString &text);

// A text to find, prepared once for many searches with the same options. Its characters are taken
// as the editor would hold them: a line break in it, CR LF, a lone CR or a lone LF alike, stands
// for a line break of the text searched.
class Pattern {
public:
    Pattern(QStringView text, const Options &options);

    bool isEmpty() const { return m_bytes.isEmpty(); }
    // In characters of the text searched: a line break counts two.
    qsizetype length() const { return m_bytes.size(); }

    // First match that starts at or after from, or -1. The edges of text count as the edges of words.
    qsizetype indexIn(QByteArrayView text, qsizetype from = 0) const;
    // Last match that ends at or before end, or -1.
    qsizetype lastIndexIn(QByteArrayView text, qsizetype end) const;
    // Every match, left to right, each one starting after the end of the one before.
    QList<qsizetype> allIn(QByteArrayView text) const;

private:
    bool isWholeWordAt(QByteArrayView text, qsizetype at) const;

    QByteArray m_bytes; // lower-cased where case does not matter
    bool m_wholeWord;
    const std::array<uchar, 256> *m_fold;
    std::array<qsizetype, 256> m_skipForward{};
    std::array<qsizetype, 256> m_skipBackward{};
};

// Where the find step starts: right after the selection going down, at its start going up.
qsizetype searchOrigin(Selection selection, Direction direction);

// The find step: the match that becomes the selection, or nothing (the not-found message).
// Going down, a match starts at or after the origin; going up, it ends at or before it and is
// the nearest one. There is no wrap-around, and an empty text to find has no match.
std::optional<Selection> findStep(QByteArrayView text, Selection selection, const Pattern &pattern,
                                  Direction direction);
// The same on a text of characters the code page holds (the text is taken byte for character).
std::optional<Selection> findStep(QStringView text, Selection selection, QStringView what, const Options &options);

// The replace step: whatever the selection holds becomes the replacement; with nothing selected,
// nothing (the not-found message).
std::optional<Replacement> replaceStep(Selection selection, const QString &replacement);

// Replace All's occurrences: every match, left to right, not overlapping.
QList<qsizetype> occurrences(QByteArrayView text, const Pattern &pattern);
QList<qsizetype> occurrences(QStringView text, QStringView what, const Options &options);

} // namespace FindReplace
