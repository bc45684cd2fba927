#include "common/field_rule.h"

#include <QLineEdit>

FieldRule::FieldRule(QLineEdit *field, FieldText::LineBreaks lineBreaks, const RepertoireSource &repertoire)
    : QValidator(field), m_lineBreaks(lineBreaks), m_repertoire(repertoire ? repertoire : &FieldText::scriptRepertoire)
{
}

void FieldRule::install(QLineEdit *field, FieldText::LineBreaks lineBreaks, const RepertoireSource &repertoire)
{
    auto *rule = new FieldRule(field, lineBreaks, repertoire);
    const QString present = field->text();
    rule->m_before = FieldText::kept({}, present, present.size(), lineBreaks, rule->m_repertoire()).text;
    field->setValidator(rule);
    if (rule->m_before != present)
        field->setText(rule->m_before);
}

QValidator::State FieldRule::validate(QString &input, int &pos) const
{
    const FieldText::Kept kept = FieldText::kept(m_before, input, pos, m_lineBreaks, m_repertoire());
    input = kept.text;
    pos = int(kept.cursor);
    m_before = input;
    return Acceptable;
}
