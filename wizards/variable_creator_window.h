#pragma once

#include <QDialog>
#include <QPointer>

// The variable creator: appends a set or var line to the current editor.
class TForm4 : public QDialog {
    Q_OBJECT
public:
    explicit TForm4(QWidget *parent = nullptr);
};

extern QPointer<TForm4> Form4;
