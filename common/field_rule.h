#pragma once

#include "common/field_text.h"

#include <QValidator>

class QLineEdit;

// The validator that puts a one-line field under FieldText's rule: every change of its text,
// typed, pasted, dropped or set by the program, is rewritten to what the field keeps.
class FieldRule : public QValidator {
    Q_OBJECT
public:
    // Puts the rule on the field, its present text included; the field owns the rule.
    static void install(QLineEdit *field,
                        FieldText::LineBreaks lineBreaks = FieldText::LineBreaks::EndInsertedText);

    State validate(QString &input, int &pos) const override;

private:
    FieldRule(QLineEdit *field, FieldText::LineBreaks lineBreaks);

    FieldText::LineBreaks m_lineBreaks;
    // The field's text as the rule last let it through: the "before" of the next change.
    mutable QString m_before;
};
