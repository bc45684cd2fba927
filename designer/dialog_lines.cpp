#include "designer/dialog_lines.h"

namespace DialogLines {
namespace {

QString joinedGeometry(const Geometry &g)
{
    return g.x + QLatin1Char(' ') + g.y + QLatin1Char(' ') + g.width + QLatin1Char(' ') + g.height;
}

// Slots first to last (counted from 1) as style items.
QStringList slotItems(const SlotWords &words, int first, int last)
{
    QStringList items;
    for (int n = first; n <= last; ++n)
        items.append(words[n - 1]);
    return items;
}

// The id, the geometry, " ," and the style items joined by single spaces.
QString idGeometryAndStyle(const QString &id, const Geometry &geometry, const QStringList &styleItems)
{
    return id + QStringLiteral(", ") + joinedGeometry(geometry) + QStringLiteral(" ,")
           + styleItems.join(QLatin1Char(' '));
}

// A control that carries a text: keyword (with its space), text, id, geometry, style items.
QString textControlLine(const QString &keyword, const QString &text, const QString &id, const Geometry &geometry,
                        const QStringList &styleItems)
{
    return keyword + text + QStringLiteral(", ") + idGeometryAndStyle(id, geometry, styleItems);
}

// A control without a text: keyword (with its space), id, geometry, style items.
QString bareControlLine(const QString &keyword, const QString &id, const Geometry &geometry,
                        const QStringList &styleItems)
{
    return keyword + idGeometryAndStyle(id, geometry, styleItems);
}

} // namespace

QStringList headerLines(const HeaderFields &fields)
{
    QStringList lines{
        QStringLiteral("dialog new_table {"),
        QStringLiteral("title ") + fields.title,
        QStringLiteral("size ") + joinedGeometry(fields.size),
        fields.win98Style ? QStringLiteral("option pixels notheme") : QStringLiteral("option pixels"),
    };
    if (fields.withIcon)
        lines.append(QStringLiteral("icon ") + fields.iconFile + QStringLiteral(", 0"));
    return lines;
}

QString buttonLine(const ButtonFields &fields)
{
    return textControlLine(QStringLiteral("button "), fields.text, fields.id, fields.geometry,
                           slotItems(fields.slotWords, 1, 6) << fields.type);
}

QString radioLine(const RadioFields &fields)
{
    return textControlLine(QStringLiteral("radio "), fields.text, fields.id, fields.geometry,
                           slotItems(fields.slotWords, 1, 5) << fields.type << fields.alignment);
}

QString comboLine(const ComboFields &fields)
{
    return bareControlLine(QStringLiteral("combo "), fields.id, fields.geometry,
                           slotItems(fields.slotWords, 1, 6) << fields.type);
}

QString listLine(const ListFields &fields)
{
    return bareControlLine(QStringLiteral("list "), fields.id, fields.geometry, slotItems(fields.slotWords, 1, 7));
}

} // namespace DialogLines
