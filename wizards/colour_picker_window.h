#pragma once

#include <QWidget>
#include <QPointer>

// The colour code picker: appends an mIRC colour code to the current editor.
class TForm10 : public QWidget {
    Q_OBJECT
public:
    explicit TForm10(QWidget *parent = nullptr);
};

extern QPointer<TForm10> Form10;
