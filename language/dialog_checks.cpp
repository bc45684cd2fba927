#include "language/dialog_checks.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>

using namespace DialogTable;

namespace DialogChecks {
namespace {

// Styles every control takes (besides its own), as mIRC's documentation lists them.
const QStringList kCommonStyles{u"disable"_qs, u"hide"_qs, u"result"_qs, u"group"_qs, u"tab"_qs};

// Each control's own styles, as mIRC's help and its knowledge base list them ("flat" on check boxes
// and radio buttons as the designer offers it).
const QHash<QString, QStringList> &ownStyles()
{
    static const QHash<QString, QStringList> styles{
        {u"text"_qs, {u"right"_qs, u"center"_qs, u"nowrap"_qs}},
        {u"edit"_qs,
         {u"right"_qs, u"center"_qs, u"multi"_qs, u"pass"_qs, u"read"_qs, u"return"_qs, u"hsbar"_qs, u"vsbar"_qs,
          u"autohs"_qs, u"autovs"_qs, u"limit"_qs, u"rich"_qs}},
        {u"button"_qs, {u"default"_qs, u"ok"_qs, u"cancel"_qs, u"flat"_qs, u"multi"_qs}},
        {u"check"_qs, {u"left"_qs, u"push"_qs, u"3state"_qs, u"multi"_qs, u"flat"_qs}},
        {u"radio"_qs, {u"left"_qs, u"push"_qs, u"flat"_qs}},
        {u"box"_qs, {u"left"_qs, u"center"_qs, u"right"_qs}},
        {u"scroll"_qs, {u"top"_qs, u"left"_qs, u"bottom"_qs, u"right"_qs, u"horizontal"_qs, u"range"_qs}},
        {u"list"_qs,
         {u"sort"_qs, u"extsel"_qs, u"multsel"_qs, u"size"_qs, u"vsbar"_qs, u"hsbar"_qs, u"check"_qs, u"radio"_qs}},
        {u"combo"_qs, {u"sort"_qs, u"edit"_qs, u"drop"_qs, u"size"_qs, u"vsbar"_qs, u"hsbar"_qs}},
        {u"icon"_qs,
         {u"noborder"_qs, u"top"_qs, u"left"_qs, u"bottom"_qs, u"right"_qs, u"small"_qs, u"large"_qs, u"actual"_qs}},
        {u"link"_qs, {}},
        {u"tab"_qs, {}},
        {u"menu"_qs, {}},
        {u"item"_qs, {u"ok"_qs, u"cancel"_qs}},
    };
    return styles;
}

// Words mIRC does not know that name the look a control has without them, and so do no harm: the
// dialog designer offers them in its lists (a "standart" check box, text aligned "Left", a
// "vertical" scroll bar, the text of a check box or radio button on the "right").
const QHash<QString, QStringList> &defaultLookWords()
{
    static const QHash<QString, QStringList> words{
        {u"check"_qs, {u"standart"_qs, u"standard"_qs, u"right"_qs}},
        {u"radio"_qs, {u"right"_qs}},
        {u"scroll"_qs, {u"vertical"_qs}},
        {u"text"_qs, {u"left"_qs}},
    };
    return words;
}

const QStringList kOptionWords{u"pixels"_qs, u"dbu"_qs, u"map"_qs, u"notheme"_qs, u"disable"_qs};

// The pieces a line of each kind must have, as the message names them.
QString shapeOf(const QString &kind)
{
    if (kind == u"list" || kind == u"combo")
        return kind + u" id, x y w h"_qs;
    if (kind == u"icon")
        return u"icon id, x y w h, файл"_qs;
    if (kind == u"tab")
        return u"tab \"текст\", id, x y w h (первая вкладка) или tab \"текст\", id"_qs;
    if (kind == u"menu")
        return u"menu \"текст\", id"_qs;
    if (kind == u"item")
        return u"item \"текст\", id"_qs;
    return kind + u" \"текст\", id, x y w h"_qs;
}

qsizetype requiredFields(const Control &control)
{
    if (control.kind == u"tab" || control.kind == u"menu" || control.kind == u"item" || !control.takesText)
        return 2;
    return 3;
}

bool hasGeometryPiece(const Control &control)
{
    if (control.kind == u"menu" || control.kind == u"item")
        return false;
    return control.kind != u"tab" || control.hasGeometry;
}

int editDistanceAtMostOne(const QString &a, const QString &b)
{
    if (qAbs(a.size() - b.size()) > 1)
        return 2;
    qsizetype i = 0;
    while (i < a.size() && i < b.size() && a.at(i) == b.at(i))
        ++i;
    const QStringView restA = QStringView(a).mid(i);
    const QStringView restB = QStringView(b).mid(i);
    if (restA.isEmpty() && restB.isEmpty())
        return 0;
    if (restA.mid(1) == restB.mid(1) || restA.mid(1) == restB || restA == restB.mid(1))
        return 1;
    return 2;
}

QString suggestionFor(const QString &kind, const QString &word)
{
    QStringList candidates = ownStyles().value(kind) + kCommonStyles;
    for (const QString &candidate : std::as_const(candidates)) {
        if (editDistanceAtMostOne(word, candidate) == 1)
            return candidate;
    }
    return QString();
}

bool containsSpace(const QString &text)
{
    return std::any_of(text.cbegin(), text.cend(), [](QChar c) { return c.isSpace(); });
}

bool isDynamic(const QString &text)
{
    return text.startsWith(u'%') || text.startsWith(u'$');
}

// Judges one read table, line by line, collecting its problems.
class TableChecker {
public:
    TableChecker(const DialogModel &model, const Options &options) : m_model(model), m_options(options) { }

    QList<Problem> run()
    {
        checkStructure();
        checkTitle();
        checkSize();
        checkOptions();
        checkDialogIcon();
        for (const Control &control : m_model.controls)
            checkControl(control);
        std::stable_sort(m_problems.begin(), m_problems.end(),
                         [](const Problem &a, const Problem &b) { return a.line < b.line; });
        return m_problems;
    }

private:
    void report(int line, const QString &reason) { m_problems.append({line, reason, Severity::Error}); }
    void warn(int line, const QString &reason) { m_problems.append({line, reason, Severity::Warning}); }
    void note(int line, const QString &reason) { m_problems.append({line, reason, Severity::Note}); }

    void checkStructure()
    {
        const int header = m_model.span.headerLine;
        if (m_model.span.name.isEmpty())
            report(header, u"у таблицы нет имени: нужно dialog имя {"_qs);
        if (!m_model.span.closed && !(m_options.textEndClosesTable && m_model.span.reachesEnd))
            report(header, u"у таблицы нет закрывающей скобки «}»"_qs);
        if (m_model.sizeLine < 0)
            report(header, u"нет строки size: без неё mIRC не откроет диалог"_qs);
        for (int line : m_model.extraSizeLines)
            report(line, u"строка size уже была в строке %1"_qs.arg(m_model.sizeLine + 1));
    }

    void checkTitle()
    {
        if (m_model.titleLine >= 0 && !m_model.titleClosed)
            report(m_model.titleLine, u"кавычка не закрыта"_qs);
    }

    void checkSize()
    {
        if (m_model.sizeLine < 0)
            return;
        checkNumbers(m_model.sizeLine, m_model.size);
        if (m_model.sizeKnown() && (m_model.width() < -1 || m_model.height() < -1))
            report(m_model.sizeLine, u"ширина и высота не могут быть отрицательными (-1 значит размер по умолчанию)"_qs);
        else if (m_model.sizeLeftToScript())
            note(m_model.sizeLine, u"размер %1 × %2 задаёт скрипт, когда диалог открывается (dialog -s): "
                                   u"диалог нарисован по его элементам"_qs.arg(m_model.width()).arg(m_model.height()));
    }

    void checkOptions()
    {
        for (const HeaderLine &option : m_model.options) {
            if (option.words.isEmpty())
                warn(option.line, u"после option нужны параметры: pixels, dbu, notheme или disable"_qs);
            for (const QString &word : option.words) {
                if (!kOptionWords.contains(word) && !isDynamic(word))
                    warn(option.line, u"mIRC не знает параметра option «%1» и пропустит его"_qs.arg(word));
            }
        }
    }

    void checkDialogIcon()
    {
        if (m_model.iconLine < 0)
            return;
        const QList<Field> &fields = m_model.iconFields;
        if (fields.isEmpty()) {
            report(m_model.iconLine, u"после icon нужен файл значка: icon файл, номер"_qs);
            return;
        }
        if (!fields.first().closed)
            report(m_model.iconLine, u"кавычка не закрыта"_qs);
        if (fields.size() > 1 && numberOf(fields.at(1).text).kind == Number::Invalid)
            report(m_model.iconLine, u"номер значка «%1» должен быть числом"_qs.arg(fields.at(1).text));
    }

    // Reports the first problem of a piece of coordinates; true when there was none.
    bool checkNumbers(int line, const QList<Number> &numbers)
    {
        if (numbers.size() != 4) {
            report(line, u"нужно четыре координаты x y w h, а указано %1"_qs.arg(numbers.size()));
            return false;
        }
        for (const Number &number : numbers) {
            if (number.kind == Number::Invalid) {
                report(line, u"координата «%1» не целое число"_qs.arg(number.text));
                return false;
            }
        }
        return true;
    }

    void checkControl(const Control &control)
    {
        if (!control.known) {
            QString reason = u"mIRC не знает элемента «%1»"_qs.arg(control.kind);
            if (control.kind == u"label")
                reason += u": надпись пишется словом text"_qs;
            report(control.line, reason);
            return;
        }
        // A broken text hides the pieces after it: it is the one thing to mend first.
        if (control.takesText && !control.isBreak && !checkText(control))
            return;
        if (control.fields.size() < requiredFields(control)) {
            report(control.line, u"в строке не хватает частей: нужно %1"_qs.arg(shapeOf(control.kind)));
            return;
        }
        checkId(control);
        if (hasGeometryPiece(control))
            checkGeometry(control);
        checkStyles(control);
        checkPlacement(control);
        if (control.kind == u"icon" && control.fileQuoted && control.fields.value(2).closed == false)
            report(control.line, u"кавычка не закрыта"_qs);
    }

    // Reports a text that mIRC would cut or misread; false when the text hides the rest of the line.
    bool checkText(const Control &control)
    {
        const Field &text = control.text;
        if (!text.closed) {
            report(control.line, u"кавычка не закрыта"_qs);
            return false;
        }
        if (text.quoted && !text.afterQuote.isEmpty()) {
            report(control.line, u"после закрывающей кавычки лишнее: «%1»"_qs.arg(text.afterQuote));
            return false;
        }
        if (control.commaSupplied)
            warn(control.line, u"после текста пропущена запятая: mIRC читает строку так, будто она есть"_qs);
        if (!text.quoted && !isDynamic(text.text)) {
            if (text.text.contains(u'"'))
                report(control.line, u"кавычка должна стоять в начале текста"_qs);
            else if (containsSpace(text.text))
                report(control.line, u"текст с пробелами нужно взять в кавычки"_qs);
        }
        return true;
    }

    void checkId(const Control &control)
    {
        if (!control.hasIdField || control.idField.text.trimmed().isEmpty()) {
            report(control.line, u"не указан id элемента"_qs);
            return;
        }
        const Number &id = control.id;
        if (id.kind == Number::Dynamic)
            return;
        if (id.kind == Number::Invalid || id.value < 0) {
            report(control.line, u"id «%1» должен быть целым неотрицательным числом"_qs.arg(control.idField.text));
            return;
        }
        const auto earlier = m_idLines.constFind(id.value);
        if (earlier != m_idLines.constEnd()) {
            report(control.line, u"id %1 уже занят в строке %2"_qs.arg(id.value).arg(*earlier + 1));
            return;
        }
        m_idLines.insert(id.value, control.line);
    }

    void checkGeometry(const Control &control)
    {
        if (!checkNumbers(control.line, control.geometry) || !control.geometryKnown())
            return;
        if (control.width() < 0 || control.height() < 0) {
            report(control.line, u"ширина и высота не могут быть отрицательными"_qs);
            return;
        }
        checkInsideDialog(control);
    }

    // mIRC opens a dialog whatever lies off it: a control out of sight is a warning. A hidden control
    // and a button put wholly off the dialog (an unseen OK or Cancel that Enter and Escape still reach)
    // are out of sight on purpose.
    void checkInsideDialog(const Control &control)
    {
        if (!m_model.declaresWidth() || !m_model.declaresHeight())
            return;
        if (control.width() == 0 || control.height() == 0 || control.hasStyle(u"hide"_qs))
            return;
        const int w = m_model.width();
        const int h = m_model.height();
        const int left = control.x(), top = control.y();
        const int right = left + control.width(), bottom = top + control.height();
        if (left >= w || top >= h || right <= 0 || bottom <= 0) {
            if (control.kind != u"button")
                warn(control.line, u"элемент лежит за пределами окна диалога (%1 × %2)"_qs.arg(w).arg(h));
            return;
        }
        // A drop-down combo's height is that of its opened list, which may hang below the dialog.
        const bool dropsDown = control.kind == u"combo" && control.hasStyle(u"drop"_qs);
        if (left < 0 || top < 0 || right > w || (bottom > h && !dropsDown))
            warn(control.line, u"элемент выходит за край окна диалога (%1 × %2)"_qs.arg(w).arg(h));
    }

    void checkStyles(const Control &control)
    {
        for (const StyleWord &style : control.styles) {
            if (style.isVariable)
                continue;
            if (!takesStyle(control.kind, style.word)) {
                warn(control.line, unknownStyleReason(control.kind, style.word));
                continue;
            }
            checkStyleNumbers(control, style);
        }
    }

    // mIRC ignores a word it does not know: the control keeps the look it has without it.
    static QString unknownStyleReason(const QString &kind, const QString &word)
    {
        static const QRegularExpression gluedNumber(u"^(limit|range|tab)([0-9]+)$"_qs);
        const QRegularExpressionMatch glued = gluedNumber.match(word);
        if (glued.hasMatch() && takesStyle(kind, glued.captured(1)))
            return u"mIRC не знает стиля «%1»: число пишется через пробел, «%2 %3»"_qs.arg(word, glued.captured(1),
                                                                                          glued.captured(2));
        QString reason = u"%1 не принимает стиль «%2», mIRC его пропустит"_qs.arg(kind, word);
        const QString suggestion = suggestionFor(kind, word);
        if (!suggestion.isEmpty())
            reason += u" (может быть, «%1»?)"_qs.arg(suggestion);
        return reason;
    }

    void checkStyleNumbers(const Control &control, const StyleWord &style)
    {
        if (style.word == u"limit" && style.numbers.isEmpty())
            warn(control.line, u"после limit нужно число"_qs);
        else if (style.word == u"range" && style.numbers.size() < 2)
            warn(control.line, u"после range нужны два числа"_qs);
        else if (style.word == u"tab" && style.numbers.isEmpty())
            report(control.line, u"после tab нужен id вкладки"_qs);
        else if (style.word == u"tab" && style.numbers.first().isWhole()
                 && m_model.tabPageIndex(style.numbers.first().value) < 0)
            report(control.line, u"вкладки с id %1 в таблице нет"_qs.arg(style.numbers.first().value));
    }

    void checkPlacement(const Control &control)
    {
        if (control.kind == u"tab" && control.tabControl < 0)
            report(control.line, u"вкладка без координат должна идти после вкладки с координатами"_qs);
        if (control.kind == u"item" && control.parentMenu < 0)
            report(control.line, u"пункт item стоит раньше первой строки menu"_qs);
        if ((control.kind == u"item" || control.kind == u"menu") && control.parentMenuGiven && !hasMenu(control.parentMenu))
            report(control.line, u"меню с id %1 в таблице нет"_qs.arg(control.parentMenu));
    }

    bool hasMenu(int id) const
    {
        for (const Control &control : m_model.controls) {
            if (control.kind == u"menu" && control.id.isWhole() && control.id.value == id)
                return true;
        }
        return false;
    }

    const DialogModel &m_model;
    const Options m_options;
    QList<Problem> m_problems;
    QHash<int, int> m_idLines; // id -> the line that took it first
};

} // namespace

bool takesStyle(const QString &kind, const QString &word)
{
    const auto own = ownStyles().constFind(kind);
    if (own == ownStyles().constEnd())
        return false;
    if (own->contains(word) || defaultLookWords().value(kind).contains(word))
        return true;
    if (kind == u"menu" || kind == u"item")
        return false;
    // A tab page is no control to place on a tab.
    return kCommonStyles.contains(word) && !(kind == u"tab" && word == u"tab");
}

QList<Problem> check(const DialogModel &model, const Options &options)
{
    return TableChecker(model, options).run();
}

qsizetype countOf(const QList<Problem> &problems, Severity severity)
{
    return std::count_if(problems.cbegin(), problems.cend(),
                         [severity](const Problem &problem) { return problem.severity == severity; });
}

} // namespace DialogChecks
