#pragma once

#include "editor/script_text.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringView>

#include <array>
#include <optional>

// The steps of the find and replace dialogs as functions of the whole text, as the editor holds
// it (bytes in the text's encoding, every line break the two characters CR LF), the selection, the
// texts and the options. On bytes, offsets count bytes; on texts of characters, characters.
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

// Whether a character of a QString makes up words (ScriptText::isWordCodePoint).
bool isWordCharacter(QChar c);

// The code page's bytes in lower case, byte for byte: what a search that ignores case compares.
QByteArray loweredBytes(QByteArrayView bytes);

// The text cut to what a dialog field holds.
QString fieldText(const QString &text);

// A text to find, prepared once for many searches with the same options. Its characters are taken
// as the editor would hold them: a line break in it, CR LF, a lone CR or a lone LF alike, stands
// for a line break of the text searched.
//
// Where case does not matter, the text searched and the text to find are compared in lower case,
// character for character. In UTF-8 a character is lowered where its lower case takes as many
// bytes (Cyrillic, Latin, Greek and most others), so that a match covers as many bytes as the text
// to find and always whole characters.
class Pattern {
public:
    Pattern(QStringView text, const Options &options, ScriptEncoding encoding = ScriptEncoding::Windows1251);

    bool isEmpty() const { return m_bytes.isEmpty(); }
    // In characters of the text searched: a line break counts two.
    qsizetype length() const { return m_length; }
    qsizetype byteLength() const { return m_bytes.size(); }

    // First match that starts at or after from, or -1. The edges of text count as the edges of words.
    qsizetype indexIn(QByteArrayView text, qsizetype from = 0) const;
    // Last match that ends at or before end, or -1.
    qsizetype lastIndexIn(QByteArrayView text, qsizetype end) const;
    // Every match, left to right, each one starting after the end of the one before.
    QList<qsizetype> allIn(QByteArrayView text) const;

private:
    template <typename Fold>
    qsizetype indexIn(QByteArrayView text, qsizetype from, const Fold &fold) const;
    template <typename Fold>
    qsizetype lastIndexIn(QByteArrayView text, qsizetype end, const Fold &fold) const;
    bool isWholeWordAt(QByteArrayView text, qsizetype at) const;

    QByteArray m_bytes; // lower-cased where case does not matter
    qsizetype m_length = 0;
    bool m_wholeWord;
    bool m_utf8;
    const std::array<uchar, 256> *m_fold; // nullptr: UTF-8 lowered by character
    std::array<qsizetype, 256> m_skipForward{};
    std::array<qsizetype, 256> m_skipBackward{};
};

// Where the find step starts: right after the selection going down, at its start going up.
qsizetype searchOrigin(Selection selection, Direction direction);

// The find step: the match that becomes the selection, or nothing (the not-found message).
// Going down, a match starts at or after the origin; going up, it ends at or before it and is
// the nearest one. There is no wrap-around, and an empty text to find has no match. Selections
// in bytes of the text.
std::optional<Selection> findStep(QByteArrayView text, Selection selection, const Pattern &pattern,
                                  Direction direction);
// The same on a text of characters the encoding holds, selections in characters.
std::optional<Selection> findStep(QStringView text, Selection selection, QStringView what, const Options &options,
                                  ScriptEncoding encoding = ScriptEncoding::Windows1251);

// The replace step: whatever the selection holds becomes the replacement; with nothing selected,
// nothing (the not-found message).
std::optional<Replacement> replaceStep(Selection selection, const QString &replacement);

// Replace All's occurrences: every match, left to right, not overlapping; in bytes of the text, or
// in characters of a text of characters.
QList<qsizetype> occurrences(QByteArrayView text, const Pattern &pattern);
QList<qsizetype> occurrences(QStringView text, QStringView what, const Options &options,
                             ScriptEncoding encoding = ScriptEncoding::Windows1251);

} // namespace FindReplace
