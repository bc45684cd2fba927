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

QString editLine(const EditFields &fields)
{
    QStringList items;
    if (fields.withLimit)
        items.append(QStringLiteral("limit ") + fields.limit);
    items += slotItems(fields.slotWords, 1, 11);
    return textControlLine(QStringLiteral("edit "), fields.text, fields.id, fields.geometry, items);
}

QString linkLine(const LinkFields &fields)
{
    return textControlLine(QStringLiteral("link "), fields.text, fields.id, fields.geometry,
                           slotItems(fields.slotWords, 1, 5));
}

QString tabLine(const TabFields &fields)
{
    return textControlLine(QStringLiteral("tab "), fields.title, fields.id, fields.geometry,
                           slotItems(fields.slotWords, 1, 4));
}

QString iconLine(const IconFields &fields)
{
    return bareControlLine(QStringLiteral("icon "), fields.id, fields.geometry, {fields.file});
}

QString checkLine(const CheckFields &fields)
{
    return textControlLine(QStringLiteral("check "), fields.text, fields.id, fields.geometry,
                           QStringList{fields.type, fields.alignment} + slotItems(fields.slotWords, 1, 5));
}

QString scrollLine(const ScrollFields &fields)
{
    return textControlLine(QStringLiteral("scroll "), fields.text, fields.id, fields.geometry,
                           QStringList{fields.orientation, fields.alignment} + slotItems(fields.slotWords, 1, 4));
}

QString textLine(const TextFields &fields)
{
    return textControlLine(QStringLiteral("text "), fields.text, fields.id, fields.geometry,
                           QStringList{fields.alignment} + slotItems(fields.slotWords, 1, 4));
}

QString panelLine(const PanelFields &fields)
{
    return textControlLine(QStringLiteral("box "), fields.text, fields.id, fields.geometry,
                           slotItems(fields.slotWords, 1, 4));
}

} // namespace DialogLines
