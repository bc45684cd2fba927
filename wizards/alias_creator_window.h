#pragma once

#include <QDialog>
#include <QPointer>

// The alias creator: appends an alias line to the current editor.
class TForm3 : public QDialog {
    Q_OBJECT
public:
    explicit TForm3(QWidget *parent = nullptr);
};

extern QPointer<TForm3> Form3;
