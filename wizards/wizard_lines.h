#pragma once

#include <QString>
#include <QStringList>

// The lines the alias creator, the variable creator and the colour code picker append to a script.
// Each is plain concatenation: nothing is trimmed, quoted or checked.
namespace WizardLines {

// The commands an alias can run, in the order the alias creator lists them; the last row is empty.
const QStringList &aliasCommands();

// "alias " + name + " " + command.
QString aliasLine(const QString &name, const QString &command);

// The two kinds of variable, in the order the variable creator lists them.
enum class VariableKind { Permanent, Temporary };

// The variable creator's row captions: "set - Постоянная", "var - Временная".
QStringList variableRows();

// "set %" + name for a permanent variable, "var %" + name for a temporary one.
QString variableLine(VariableKind kind, const QString &name);

// The mIRC colour control character 0x03 followed by the colour number's decimal digits.
QString colourCode(const QString &number);

inline constexpr QChar kColourControl = QChar(0x03);
inline constexpr int kColourCount = 16;

} // namespace WizardLines
