#pragma once

#include <QWidget>
#include <QPointer>

// The search window: created hidden, never shown.
class TForm8 : public QWidget {
    Q_OBJECT
public:
    explicit TForm8(QWidget *parent = nullptr);
};

extern QPointer<TForm8> Form8;
