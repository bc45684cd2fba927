#include "catalogue/catalogue_window.h"

#include "language/snippet_tables.h"

#include <QLineEdit>
#include <QVBoxLayout>

QPointer<TForm6> Form6;

TForm6::TForm6(QWidget *parent)
    : QWidget(parent, Qt::Window),
      ListBox1(snippetTable(SnippetTable::DialogTemplates)),
      ListBox2(snippetTable(SnippetTable::Symbols)),
      ListBox3(snippetTable(SnippetTable::Commands)),
      ListBox4(snippetTable(SnippetTable::EventHeaders)),
      ListBox5(snippetTable(SnippetTable::Identifiers))
{
    auto *layout = new QVBoxLayout(this);
    QLineEdit **fields[12] = {&Edit1, &Edit2, &Edit3, &Edit4, &Edit5, &Edit6,
                             &Edit7, &Edit8, &Edit9, &Edit10, &Edit11, &Edit12};
    for (int i = 0; i < 12; ++i) {
        *fields[i] = new QLineEdit(this);
        (*fields[i])->setObjectName(QStringLiteral("Edit%1").arg(i + 1));
        layout->addWidget(*fields[i]);
    }
}

QLineEdit *TForm6::slotField(int n) const
{
    QLineEdit *const fields[12] = {Edit1, Edit2, Edit3, Edit4, Edit5, Edit6,
                                  Edit7, Edit8, Edit9, Edit10, Edit11, Edit12};
    return n >= 1 && n <= 12 ? fields[n - 1] : nullptr;
}

QString TForm6::slot(int n) const
{
    const QLineEdit *field = slotField(n);
    return field ? field->text() : QString();
}

void TForm6::setSlot(int n, const QString &word)
{
    if (QLineEdit *field = slotField(n))
        field->setText(word);
}

void TForm6::clearSlots()
{
    for (int n = 1; n <= 12; ++n)
        slotField(n)->clear();
}
