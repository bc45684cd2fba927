#pragma once

#include "language/script_lexer.h"

#include <QColor>

// The two palettes highlighting is drawn for.
enum class ScriptPalette { Light, Dark };

// How one kind of token is drawn.
struct TokenStyle {
    QColor foreground;
    QColor background; // invalid where the text background shows through
    bool bold = false;
    bool italic = false;
};

// The highlighting colours of mIRC script, readable on the light and on the dark palette
// (every foreground at least 4.5:1 against its background).
namespace ScriptColours {

TokenStyle style(TokenKind kind, ScriptPalette palette);

// The text and background the styles are made for.
QColor text(ScriptPalette palette);
QColor background(ScriptPalette palette);

// The letter shown on the plate of one of mIRC's formatting codes, as its keys name them: B bold,
// U underline, R reverse, I italic, O plain; null for any other character (a colour code shows
// its digits).
QChar controlCodeLetter(QChar c);

// The palette that suits a window background: Dark where it is dark.
ScriptPalette paletteFor(const QColor &windowBackground);

} // namespace ScriptColours
