#pragma once

#include <QWidget>
#include <QPointer>

// The dialog designer: builds the lines of an mIRC dialog table.
class TForm5 : public QWidget {
    Q_OBJECT
public:
    explicit TForm5(QWidget *parent = nullptr);
};

extern QPointer<TForm5> Form5;
