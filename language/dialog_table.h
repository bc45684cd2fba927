#pragma once

#include "language/line_source.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// Reading of mIRC dialog tables: finding the table ("dialog [-l] name {" to its "}") around a
// line of script text, and reading its lines into a model of the dialog that a preview can draw
// and the checks can judge. Reading never fails: whatever the text, it yields a model, and the
// pieces it could not make sense of stay in the model for the checks to report. Lines of
// INI-format scripts are read as the text after their "nN=".
namespace DialogTable {

// Where a table lies in the text. Lines count from 0.
struct Span {
    int headerLine = -1;
    int lastLine = -1;   // the closing brace, or the last line read when there is none
    bool closed = false; // the table ends with its "}"
    bool reachesEnd = false; // without its "}", the table runs to the end of the text
    QString name;        // empty when the header names no table
    bool local = false;  // "dialog -l"

    bool contains(int line) const { return line >= headerLine && line <= lastLine; }
};

// A table longer than this is taken to have lost its closing brace.
constexpr int kMaxTableLines = 5000;

// The table whose lines include `line`, if any.
std::optional<Span> tableAround(const LineSource &lines, int line);
// The table named `name` (mIRC compares names without case); of several, the one whose header is
// nearest to `nearLine`. With a reach of 0 or more, only headers at most that many lines away count.
std::optional<Span> tableNamed(const LineSource &lines, const QString &name, int nearLine = 0, int reach = -1);
// The table whose header is `headerLine`, if that line is a table's header.
std::optional<Span> tableAt(const LineSource &lines, int headerLine);
// The first table within the first reach lines of the text.
std::optional<Span> firstTable(const LineSource &lines, int reach);

// A line read as a dialog table header: "dialog", optionally "-l", a name and "{".
struct Header {
    QString name;
    bool local = false;
};
std::optional<Header> headerOf(const QString &line);

// One comma-separated piece of a table line, as written.
struct Field {
    QString text;          // without its quotes when quoted; trimmed when not
    bool quoted = false;   // began with a double quote
    bool closed = true;    // a quoted piece found its closing quote
    QString afterQuote;    // what stood between the closing quote and the comma, trimmed
};
// Splits the part of a line after its keyword at the commas that stand outside double quotes.
QList<Field> splitFields(const QString &rest);

// A number written in a table, or a value that mIRC works out when it opens the dialog
// (a %variable or an $identifier), or something that is neither.
struct Number {
    enum Kind { Whole, Dynamic, Invalid };
    Kind kind = Invalid;
    int value = 0;
    QString text;
    bool isWhole() const { return kind == Whole; }
};
Number numberOf(const QString &token);

// Units of a table's coordinates.
enum class Units { Pixels, Dbu, Map };

// One style word of a control, with the numbers it takes ("tab 2", "limit 10", "range 0 100").
struct StyleWord {
    QString word;          // lower case
    QList<Number> numbers; // as many as the word takes, as far as the line gave them
    bool isVariable = false; // a %variable that mIRC fills with the control's value
};

// A control line, or any other line of the table that is not a header item.
struct Control {
    int line = -1;
    QString kind; // keyword in lower case: "text", "edit", ... or whatever unknown word began the line
    bool known = false;

    QList<Field> fields; // everything after the keyword
    bool takesText = false;
    Field text;          // the text, for kinds that carry one
    // The text was followed by the id without a comma ("text "Name:" 12, ..."): mIRC reads the line
    // as if the comma were there, and so does the reader.
    bool commaSupplied = false;
    bool hasIdField = false;
    Field idField;
    Number id;
    bool hasGeometry = false;    // a geometry piece was present
    QList<Number> geometry;      // its numbers as written, whatever their count
    QList<StyleWord> styles;

    // Icon controls: the picture file and its index.
    QString file;
    bool fileQuoted = false;
    Number iconIndex;
    bool hasIconIndex = false;

    // Tabs: the first tab line with geometry starts a tab control; later tab lines without geometry
    // are further pages of it. Every page of one control shares its tabControl index (the index in
    // DialogModel::controls of its first page).
    int tabControl = -1;
    // Menus and items: the id of the menu they belong to, or -1 for the menu bar itself.
    int parentMenu = -1;
    bool parentMenuGiven = false;
    bool isBreak = false; // "item break"

    bool hasStyle(const QString &word) const;
    // The id of the tab page the control is placed on ("tab N"), or -1.
    int tabPage() const;
    // The four coordinates when all are plain numbers.
    bool geometryKnown() const;
    int x() const { return geometry.value(0).value; }
    int y() const { return geometry.value(1).value; }
    int width() const { return geometry.value(2).value; }
    int height() const { return geometry.value(3).value; }
};

// A header item that a checker may question, with its line.
struct HeaderLine {
    int line = -1;
    QList<Field> fields;
    QStringList words; // option words in lower case
};

// The whole dialog as the table describes it.
struct DialogModel {
    Span span;
    QString title;
    int titleLine = -1;
    bool titleClosed = true;

    // "size x y w h": -1 for w or h is mIRC's default size.
    int sizeLine = -1;
    QList<Number> size;
    QList<int> extraSizeLines; // further size lines, which mIRC does not expect

    Units units = Units::Pixels;
    bool notheme = false;
    QList<HeaderLine> options;

    // "icon file, index" of the dialog itself.
    int iconLine = -1;
    QString iconFile;
    QList<Field> iconFields;

    QList<Control> controls; // in the order of their lines

    bool sizeKnown() const;
    int width() const { return size.value(2).value; }
    int height() const { return size.value(3).value; }
    // Whether the size line gives the dialog's width (height) in so many units. It does not when the
    // value is -1 (mIRC's default size), 0, 1 (a size left to the script, which sets it with
    // "dialog -s" when the dialog opens) or worked out at opening time.
    bool declaresWidth() const { return sizeKnown() && width() > 1; }
    bool declaresHeight() const { return sizeKnown() && height() > 1; }
    // A width or height of 1 ("size -1 -1 1 1"): the dialog is sized by its script when it opens.
    bool sizeLeftToScript() const { return sizeKnown() && (width() == 1 || height() == 1); }
    // The control with this id that a "tab N" can point to: the index of a tab page, or -1.
    int tabPageIndex(int id) const;
};

// Reads the table that `span` delimits. Comments (";" lines and "/* */" blocks) and empty lines are
// skipped.
DialogModel readTable(const LineSource &lines, const Span &span);

// The values of a piece of a line, split at the blanks that stand outside parentheses, so that an
// identifier with spaces in its brackets ("$calc(%w - 10)") is one value.
QStringList valuesOf(const QString &text);

// A length in the table's units as pixels. A dbu is a quarter of the width and an eighth of the
// height of the system font's average character (GetDialogBaseUnits: 8 by 16 pixels at 96 dots per
// inch), so 2 pixels each way. "map" units, which mIRC's documentation says are not dbu, are dialog
// template units of the dialog's own font (6 by 13): x * 6 / 4 and y * 13 / 8, rounded.
int pixelsX(Units units, int value);
int pixelsY(Units units, int value);

} // namespace DialogTable
