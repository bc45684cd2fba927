#pragma once

#include "common/field_text.h"

#include <QValidator>

class QLineEdit;

// The validator that puts a one-line field under FieldText's rule: every change of its text,
// typed, pasted, dropped or set by the program, is rewritten to what the field keeps.
class FieldRule : public QValidator {
    Q_OBJECT
public:
    using RepertoireSource = std::function<FieldText::Repertoire()>;

    // Puts the rule on the field, its present text included; the field owns the rule. The field
    // keeps the characters of the repertoire the source tells at each change, by default that of
    // the current script.
    static void install(QLineEdit *field,
                        FieldText::LineBreaks lineBreaks = FieldText::LineBreaks::EndInsertedText,
                        const RepertoireSource &repertoire = {});

    State validate(QString &input, int &pos) const override;

private:
    FieldRule(QLineEdit *field, FieldText::LineBreaks lineBreaks, const RepertoireSource &repertoire);

    FieldText::LineBreaks m_lineBreaks;
    RepertoireSource m_repertoire;
    // The field's text as the rule last let it through: the "before" of the next change.
    mutable QString m_before;
};
