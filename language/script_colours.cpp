#include "language/script_colours.h"

#include "common/text_contrast.h"

#include <iterator>

namespace {

struct StyleRow {
    TokenKind kind;
    const char *light;
    const char *dark;
    bool bold;
    bool italic;
};

// Hues by family: comments green, block words purple, events red, commands blue, identifiers
// orange, variables teal, channels magenta. Known words are bold where they lead a line.
constexpr StyleRow kStyles[] = {
    {TokenKind::Comment, "#237a23", "#6a9955", false, true},
    {TokenKind::Keyword, "#00007f", "#569cd6", true, false},
    {TokenKind::BlockName, "#7f007f", "#dcdcaa", true, false},
    {TokenKind::EventHeader, "#7f007f", "#c586c0", false, false},
    {TokenKind::Event, "#c00000", "#f48771", true, false},
    {TokenKind::UnknownEvent, "#c00000", "#f48771", false, false},
    {TokenKind::Command, "#0000e0", "#4fc1ff", true, false},
    {TokenKind::UnknownCommand, "#000000", "#d4d4d4", false, false},
    {TokenKind::Identifier, "#b34700", "#ce9178", false, false},
    {TokenKind::CustomIdentifier, "#6b6b00", "#d7ba7d", false, false},
    {TokenKind::Variable, "#007878", "#4ec9b0", false, false},
    {TokenKind::Channel, "#b0007a", "#ff8cd0", false, false},
    {TokenKind::Number, "#0070a0", "#b5cea8", false, false},
    {TokenKind::ControlCode, "#ffffff", "#1e1e1e", true, false},
    {TokenKind::LinePrefix, "#707070", "#858585", false, false},
};
constexpr bool rowsInKindOrder()
{
    for (int i = 0; i < int(std::size(kStyles)); ++i) {
        if (int(kStyles[i].kind) != i)
            return false;
    }
    return int(std::size(kStyles)) == kTokenKindCount;
}
static_assert(rowsInKindOrder(), "one style row per token kind, in the order of TokenKind");

// Control codes are drawn as marks on a plate of their own, so that they show though invisible.
constexpr const char *kControlPlateLight = "#5a5a5a";
constexpr const char *kControlPlateDark = "#c8c8c8";

} // namespace

namespace ScriptColours {

TokenStyle style(TokenKind kind, ScriptPalette palette)
{
    const StyleRow &row = kStyles[int(kind)];
    TokenStyle style;
    style.foreground = QColor(QLatin1String(palette == ScriptPalette::Light ? row.light : row.dark));
    style.bold = row.bold;
    style.italic = row.italic;
    if (kind == TokenKind::ControlCode)
        style.background =
            QColor(QLatin1String(palette == ScriptPalette::Light ? kControlPlateLight : kControlPlateDark));
    return style;
}

QColor text(ScriptPalette palette)
{
    return palette == ScriptPalette::Light ? QColor(0, 0, 0) : QColor(0xd4, 0xd4, 0xd4);
}

QColor background(ScriptPalette palette)
{
    return palette == ScriptPalette::Light ? QColor(0xff, 0xff, 0xff) : QColor(0x1e, 0x1e, 0x1e);
}

QChar controlCodeLetter(QChar c)
{
    switch (c.unicode()) {
    case 0x02:
        return u'B';
    case 0x1F:
        return u'U';
    case 0x16:
        return u'R';
    case 0x1D:
        return u'I';
    case 0x0F:
        return u'O';
    default:
        return {};
    }
}

ScriptPalette paletteFor(const QColor &windowBackground)
{
    return TextContrast::luminance(windowBackground) < 0.2 ? ScriptPalette::Dark : ScriptPalette::Light;
}

} // namespace ScriptColours
