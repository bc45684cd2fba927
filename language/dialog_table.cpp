#include "language/dialog_table.h"

#include "language/script_lexer.h"

#include <QRegularExpression>
#include <QSet>

#include <cmath>
#include <utility>

namespace DialogTable {
namespace {

// Kinds whose lines begin with a text: "kind "text", id, ...".
const QSet<QString> &textKinds()
{
    static const QSet<QString> kinds{u"text"_qs,   u"edit"_qs, u"button"_qs, u"check"_qs,
                                     u"radio"_qs,  u"box"_qs,  u"scroll"_qs, u"link"_qs,
                                     u"tab"_qs,    u"menu"_qs, u"item"_qs};
    return kinds;
}

// Kinds whose lines begin with the id: "kind id, x y w h, ...".
const QSet<QString> &bareKinds()
{
    static const QSet<QString> kinds{u"list"_qs, u"combo"_qs, u"icon"_qs};
    return kinds;
}

// Style words an icon control takes; a piece made only of them is no file name.
const QSet<QString> &iconLookWords()
{
    static const QSet<QString> words{u"noborder"_qs, u"top"_qs,   u"left"_qs,  u"bottom"_qs, u"right"_qs,
                                     u"small"_qs,    u"large"_qs, u"actual"_qs, u"disable"_qs,
                                     u"hide"_qs,     u"result"_qs, u"group"_qs, u"tab"_qs};
    return words;
}

QStringList whitespaceTokens(const QString &text)
{
    static const QRegularExpression whitespace(u"\\s+"_qs);
    return text.split(whitespace, Qt::SkipEmptyParts);
}

// Line i as script text: an INI-format script puts "nN=" before each line.
QString scriptLine(const LineSource &lines, int i)
{
    const QString line = lines.line(i);
    return line.mid(ScriptLexer::linePrefixLength(line));
}

QString firstWord(const QString &trimmed)
{
    qsizetype end = 0;
    while (end < trimmed.size() && !trimmed.at(end).isSpace() && trimmed.at(end) != u'"' && trimmed.at(end) != u',')
        ++end;
    return trimmed.left(end);
}

bool startsBlock(const QString &trimmed)
{
    if (trimmed.endsWith(u'{'))
        return true;
    if (trimmed.startsWith(u'#'))
        return true;
    const QString word = firstWord(trimmed).toLower();
    return word == u"on" || word == u"alias" || word == u"raw" || word == u"ctcp";
}

// Tracks "/* ... */" comment blocks across lines.
class CommentTracker {
public:
    // True when the line (trimmed) is part of a comment, and so carries no table item.
    bool skips(const QString &trimmed)
    {
        if (!m_inBlock && trimmed.startsWith(u"/*"))
            m_inBlock = true;
        if (m_inBlock) {
            if (trimmed.contains(u"*/"))
                m_inBlock = false;
            return true;
        }
        return trimmed.isEmpty() || trimmed.startsWith(u';');
    }

private:
    bool m_inBlock = false;
};

QList<Number> numbersOf(const QString &text)
{
    QList<Number> numbers;
    for (const QString &token : valuesOf(text))
        numbers.append(numberOf(token));
    return numbers;
}

// Style pieces joined: the words of every field from `first` on, with their numbers.
QList<StyleWord> styleWordsOf(const QList<Field> &fields, qsizetype first)
{
    QStringList tokens;
    for (qsizetype i = first; i < fields.size(); ++i) {
        const Field &field = fields.at(i);
        tokens += field.quoted ? QStringList{field.text} : valuesOf(field.text);
    }
    QList<StyleWord> words;
    for (qsizetype i = 0; i < tokens.size(); ++i) {
        StyleWord style;
        style.word = tokens.at(i).toLower();
        style.isVariable = style.word.startsWith(u'%') || style.word.startsWith(u'$');
        const int wanted = style.word == u"range" ? 2 : (style.word == u"tab" || style.word == u"limit") ? 1 : 0;
        while (style.numbers.size() < wanted && i + 1 < tokens.size()) {
            const Number number = numberOf(tokens.at(i + 1));
            if (number.kind == Number::Invalid)
                break;
            style.numbers.append(number);
            ++i;
        }
        words.append(style);
    }
    return words;
}

bool isIconLookOnly(const Field &field)
{
    if (field.quoted || field.text.isEmpty())
        return false;
    const QStringList tokens = whitespaceTokens(field.text);
    for (const QString &token : tokens) {
        if (!iconLookWords().contains(token.toLower()) && !numberOf(token).isWhole())
            return false;
    }
    return true;
}

void readGeometry(Control &control, const Field &field)
{
    control.hasGeometry = true;
    control.geometry = numbersOf(field.text);
}

void readId(Control &control, const Field &field)
{
    control.hasIdField = true;
    control.idField = field;
    control.id = field.quoted ? Number{Number::Invalid, 0, field.text} : numberOf(field.text);
}

// "kind "text" id, ...": a number straight after the closing quote is the id with its comma left out.
void supplyMissingComma(Control &control)
{
    QList<Field> &fields = control.fields;
    if (fields.isEmpty() || !fields.first().quoted || fields.first().afterQuote.isEmpty())
        return;
    const QString id = fields.first().afterQuote;
    if (valuesOf(id).size() != 1 || numberOf(id).kind == Number::Invalid)
        return;
    fields.first().afterQuote.clear();
    fields.insert(1, Field{id, false, true, QString()});
    control.commaSupplied = true;
}

void readTextControl(Control &control)
{
    supplyMissingComma(control);
    const QList<Field> &fields = control.fields;
    control.takesText = true;
    control.text = fields.value(0);
    if (fields.size() > 1)
        readId(control, fields.at(1));
    if (control.kind == u"menu" || control.kind == u"item") {
        control.isBreak = control.kind == u"item" && !control.text.quoted
                          && control.text.text.compare(u"break", Qt::CaseInsensitive) == 0;
        qsizetype styleStart = 2;
        if (fields.size() > 2 && numberOf(fields.at(2).text).isWhole()) {
            control.parentMenuGiven = true;
            control.parentMenu = numberOf(fields.at(2).text).value;
            styleStart = 3;
        }
        control.styles = styleWordsOf(fields, styleStart);
        return;
    }
    if (fields.size() > 2)
        readGeometry(control, fields.at(2));
    control.styles = styleWordsOf(fields, 3);
}

void readBareControl(Control &control)
{
    const QList<Field> &fields = control.fields;
    if (!fields.isEmpty())
        readId(control, fields.at(0));
    if (fields.size() > 1)
        readGeometry(control, fields.at(1));
    qsizetype styleStart = 2;
    if (control.kind == u"icon" && fields.size() > 2 && !isIconLookOnly(fields.at(2))) {
        control.file = fields.at(2).text;
        control.fileQuoted = fields.at(2).quoted;
        styleStart = 3;
        if (fields.size() > 3 && numberOf(fields.at(3).text).kind != Number::Invalid) {
            control.hasIconIndex = true;
            control.iconIndex = numberOf(fields.at(3).text);
            styleStart = 4;
        }
    }
    control.styles = styleWordsOf(fields, styleStart);
}

// "icon" begins both the dialog's own icon line ("icon file, index") and an icon control
// ("icon id, x y w h, ..."): a control's second piece holds several coordinates.
bool isIconControl(const QList<Field> &fields)
{
    return fields.size() >= 2 && !fields.at(1).quoted && valuesOf(fields.at(1).text).size() >= 2;
}

// Reads the lines of one table, one at a time, into a model.
class TableReader {
public:
    explicit TableReader(DialogModel &model) : m_model(model) { }

    void read(int lineNumber, const QString &trimmed)
    {
        const QString word = firstWord(trimmed);
        const QString keyword = word.toLower();
        const QString rest = trimmed.mid(word.size());
        if (keyword == u"title")
            readTitle(lineNumber, rest);
        else if (keyword == u"size")
            readSize(lineNumber, rest);
        else if (keyword == u"option")
            readOption(lineNumber, rest);
        else if (keyword == u"icon" && !isIconControl(splitFields(rest)))
            readDialogIcon(lineNumber, rest);
        else
            readControl(lineNumber, keyword, rest);
    }

private:
    void readTitle(int lineNumber, const QString &rest)
    {
        const QString text = rest.trimmed();
        m_model.titleLine = lineNumber;
        m_model.titleClosed = true;
        if (text.startsWith(u'"')) {
            const qsizetype close = text.indexOf(u'"', 1);
            m_model.titleClosed = close > 0;
            m_model.title = close > 0 ? text.mid(1, close - 1) : text.mid(1);
        } else {
            m_model.title = text;
        }
    }

    void readSize(int lineNumber, const QString &rest)
    {
        if (m_model.sizeLine >= 0) {
            m_model.extraSizeLines.append(lineNumber);
            return;
        }
        m_model.sizeLine = lineNumber;
        m_model.size = numbersOf(rest);
    }

    void readOption(int lineNumber, const QString &rest)
    {
        HeaderLine option;
        option.line = lineNumber;
        static const QRegularExpression separators(u"[\\s,]+"_qs);
        for (const QString &token : rest.split(separators, Qt::SkipEmptyParts))
            option.words.append(token.toLower());
        for (const QString &word : std::as_const(option.words)) {
            if (word == u"dbu")
                m_model.units = Units::Dbu;
            else if (word == u"map")
                m_model.units = Units::Map;
            else if (word == u"pixels")
                m_model.units = Units::Pixels;
            else if (word == u"notheme")
                m_model.notheme = true;
        }
        m_model.options.append(option);
    }

    void readDialogIcon(int lineNumber, const QString &rest)
    {
        m_model.iconLine = lineNumber;
        m_model.iconFields = splitFields(rest);
        m_model.iconFile = m_model.iconFields.value(0).text;
    }

    void readControl(int lineNumber, const QString &keyword, const QString &rest)
    {
        Control control;
        control.line = lineNumber;
        control.kind = keyword;
        control.fields = splitFields(rest);
        control.known = textKinds().contains(keyword) || bareKinds().contains(keyword);
        if (textKinds().contains(keyword))
            readTextControl(control);
        else if (bareKinds().contains(keyword))
            readBareControl(control);
        placeTab(control);
        placeMenuEntry(control);
        m_model.controls.append(control);
    }

    void placeTab(Control &control)
    {
        if (control.kind != u"tab")
            return;
        if (control.hasGeometry) {
            m_currentTabControl = int(m_model.controls.size());
            control.tabControl = m_currentTabControl;
        } else {
            control.tabControl = m_currentTabControl; // -1 when no tab control came before
        }
    }

    void placeMenuEntry(Control &control)
    {
        if (control.kind == u"menu") {
            if (control.id.isWhole())
                m_currentMenu = control.id.value;
        } else if (control.kind == u"item") {
            if (control.parentMenuGiven)
                m_currentMenu = control.parentMenu;
            else
                control.parentMenu = m_currentMenu;
        }
    }

    DialogModel &m_model;
    int m_currentTabControl = -1;
    int m_currentMenu = -1;
};

} // namespace

bool Control::hasStyle(const QString &word) const
{
    for (const StyleWord &style : styles) {
        if (style.word == word)
            return true;
    }
    return false;
}

int Control::tabPage() const
{
    for (const StyleWord &style : styles) {
        if (style.word == u"tab" && !style.numbers.isEmpty() && style.numbers.first().isWhole())
            return style.numbers.first().value;
    }
    return -1;
}

bool Control::geometryKnown() const
{
    if (geometry.size() != 4)
        return false;
    for (const Number &number : geometry) {
        if (!number.isWhole())
            return false;
    }
    return true;
}

bool DialogModel::sizeKnown() const
{
    if (size.size() != 4)
        return false;
    for (const Number &number : size) {
        if (!number.isWhole())
            return false;
    }
    return true;
}

int DialogModel::tabPageIndex(int id) const
{
    for (qsizetype i = 0; i < controls.size(); ++i) {
        const Control &control = controls.at(i);
        if (control.kind == u"tab" && control.tabControl >= 0 && control.id.isWhole() && control.id.value == id)
            return int(i);
    }
    return -1;
}

std::optional<Header> headerOf(const QString &line)
{
    const QString trimmed = line.trimmed();
    if (!trimmed.startsWith(u"dialog", Qt::CaseInsensitive) || !trimmed.endsWith(u'{'))
        return std::nullopt;
    if (trimmed.size() > 6 && !trimmed.at(6).isSpace() && trimmed.at(6) != u'{')
        return std::nullopt;
    QStringList tokens = whitespaceTokens(trimmed.mid(6).chopped(1));
    Header header;
    if (!tokens.isEmpty() && tokens.first().compare(u"-l", Qt::CaseInsensitive) == 0) {
        header.local = true;
        tokens.removeFirst();
    }
    if (tokens.size() > 1)
        return std::nullopt;
    if (!tokens.isEmpty() && !tokens.first().startsWith(u'-'))
        header.name = tokens.first();
    return header;
}

std::optional<Span> tableAt(const LineSource &lines, int headerLine)
{
    if (headerLine < 0 || headerLine >= lines.lineCount())
        return std::nullopt;
    const std::optional<Header> header = headerOf(scriptLine(lines, headerLine));
    if (!header)
        return std::nullopt;
    Span span;
    span.headerLine = headerLine;
    span.lastLine = headerLine;
    span.name = header->name;
    span.local = header->local;
    const int last = int(qMin<qint64>(qint64(lines.lineCount()) - 1, qint64(headerLine) + kMaxTableLines));
    CommentTracker comments;
    for (int i = headerLine + 1; i <= last; ++i) {
        const QString trimmed = scriptLine(lines, i).trimmed();
        if (comments.skips(trimmed)) {
            span.lastLine = i;
            continue;
        }
        if (trimmed.startsWith(u'}')) {
            span.lastLine = i;
            span.closed = true;
            return span;
        }
        if (startsBlock(trimmed))
            return span;
        span.lastLine = i;
    }
    span.reachesEnd = last == lines.lineCount() - 1;
    return span;
}

std::optional<Span> tableAround(const LineSource &lines, int line)
{
    if (line < 0 || line >= lines.lineCount())
        return std::nullopt;
    const int lowest = qMax(0, line - kMaxTableLines);
    for (int i = line; i >= lowest; --i) {
        const QString text = scriptLine(lines, i);
        if (headerOf(text)) {
            const std::optional<Span> span = tableAt(lines, i);
            if (span && span->contains(line))
                return span;
            return std::nullopt;
        }
        // Above the line, a closing brace or the start of another block ends any table that could
        // hold it (tables do not nest).
        const QString trimmed = text.trimmed();
        if (i < line && (trimmed.startsWith(u'}') || startsBlock(trimmed)))
            return std::nullopt;
    }
    return std::nullopt;
}

std::optional<Span> firstTable(const LineSource &lines, int reach)
{
    const int last = qMin(lines.lineCount(), reach);
    for (int i = 0; i < last; ++i) {
        if (headerOf(scriptLine(lines, i)))
            return tableAt(lines, i);
    }
    return std::nullopt;
}

std::optional<Span> tableNamed(const LineSource &lines, const QString &name, int nearLine, int reach)
{
    const int count = lines.lineCount();
    if (count == 0)
        return std::nullopt;
    nearLine = qBound(0, nearLine, count - 1);
    const int farthest = reach < 0 ? count : reach;
    auto isTheTable = [&](int i) {
        const QString text = scriptLine(lines, i);
        if (!text.contains(u"dialog", Qt::CaseInsensitive))
            return false;
        const std::optional<Header> header = headerOf(text);
        return header && header->name.compare(name, Qt::CaseInsensitive) == 0;
    };
    // Outward from nearLine, so that a table that moved a little is found at once.
    for (int distance = 0; distance <= farthest && (nearLine - distance >= 0 || nearLine + distance < count);
         ++distance) {
        if (nearLine - distance >= 0 && isTheTable(nearLine - distance))
            return tableAt(lines, nearLine - distance);
        if (distance > 0 && nearLine + distance < count && isTheTable(nearLine + distance))
            return tableAt(lines, nearLine + distance);
    }
    return std::nullopt;
}

QList<Field> splitFields(const QString &rest)
{
    QList<Field> fields;
    qsizetype i = 0;
    const qsizetype n = rest.size();
    while (true) {
        Field field;
        while (i < n && rest.at(i).isSpace())
            ++i;
        if (i < n && rest.at(i) == u'"') {
            field.quoted = true;
            const qsizetype close = rest.indexOf(u'"', i + 1);
            field.closed = close >= 0;
            if (!field.closed) {
                field.text = rest.mid(i + 1);
                fields.append(field);
                return fields;
            }
            field.text = rest.mid(i + 1, close - i - 1);
            const qsizetype comma = rest.indexOf(u',', close + 1);
            const qsizetype end = comma < 0 ? n : comma;
            field.afterQuote = rest.mid(close + 1, end - close - 1).trimmed();
            i = end;
        } else {
            const qsizetype comma = rest.indexOf(u',', i);
            const qsizetype end = comma < 0 ? n : comma;
            field.text = rest.mid(i, end - i).trimmed();
            i = end;
        }
        fields.append(field);
        if (i >= n)
            break;
        ++i; // past the comma
    }
    // A line with nothing after its keyword has no pieces at all.
    if (fields.size() == 1 && !fields.first().quoted && fields.first().text.isEmpty())
        fields.clear();
    return fields;
}

Number numberOf(const QString &token)
{
    Number number;
    number.text = token.trimmed();
    if (number.text.startsWith(u'%') || number.text.startsWith(u'$')) {
        number.kind = Number::Dynamic;
        return number;
    }
    static const QRegularExpression whole(u"^[+-]?[0-9]{1,9}$"_qs);
    if (whole.match(number.text).hasMatch()) {
        number.kind = Number::Whole;
        number.value = number.text.toInt();
    }
    return number;
}

DialogModel readTable(const LineSource &lines, const Span &span)
{
    DialogModel model;
    model.span = span;
    const int count = lines.lineCount();
    if (span.headerLine < 0 || span.headerLine >= count)
        return model;
    const int last = qMin(span.closed ? span.lastLine - 1 : span.lastLine, count - 1);
    TableReader reader(model);
    CommentTracker comments;
    for (int i = span.headerLine + 1; i <= last; ++i) {
        const QString trimmed = scriptLine(lines, i).trimmed();
        if (!comments.skips(trimmed))
            reader.read(i, trimmed);
    }
    return model;
}

QStringList valuesOf(const QString &text)
{
    QStringList values;
    QString value;
    int depth = 0;
    for (const QChar c : text) {
        if (c.isSpace() && depth == 0) {
            if (!value.isEmpty())
                values.append(std::exchange(value, QString()));
            continue;
        }
        if (c == u'(')
            ++depth;
        else if (c == u')' && depth > 0)
            --depth;
        value.append(c);
    }
    if (!value.isEmpty())
        values.append(value);
    return values;
}

namespace {

// `mapScale`: pixels per map unit along the axis.
int toPixels(Units units, int value, double mapScale)
{
    switch (units) {
    case Units::Pixels:
        break;
    case Units::Dbu:
        return value * 2;
    case Units::Map:
        return int(std::lround(value * mapScale));
    }
    return value;
}

} // namespace

int pixelsX(Units units, int value)
{
    return toPixels(units, value, 6.0 / 4.0);
}

int pixelsY(Units units, int value)
{
    return toPixels(units, value, 13.0 / 8.0);
}

} // namespace DialogTable
