#pragma once

#include <QPointer>
#include <QStringList>
#include <QWidget>

class QLineEdit;

// The hidden catalogue window: the snippet tables behind the palettes and the twelve
// style-word slots that every dialog designer window shares.
class TForm6 : public QWidget {
    Q_OBJECT
public:
    explicit TForm6(QWidget *parent = nullptr);

    // The snippet tables behind the palettes, read-only.
    const QStringList &ListBox1; // dialog-table templates, behind Dialog2
    const QStringList &ListBox2; // symbols, behind Simbol
    const QStringList &ListBox3; // commands, behind Comands
    const QStringList &ListBox4; // event headers, behind OnPanel
    const QStringList &ListBox5; // identifiers, behind Indent

    // Style-word slots Edit1 to Edit12; n counts from 1.
    QLineEdit *Edit1, *Edit2, *Edit3, *Edit4, *Edit5, *Edit6, *Edit7, *Edit8, *Edit9, *Edit10, *Edit11, *Edit12;
    QLineEdit *slotField(int n) const;
    QString slot(int n) const;
    void setSlot(int n, const QString &word);
    // Empties slots 1 to 12, in that order.
    void clearSlots();
};

extern QPointer<TForm6> Form6;
