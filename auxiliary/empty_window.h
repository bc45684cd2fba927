#pragma once

#include <QWidget>
#include <QPointer>

// The empty window: created hidden, never shown.
class TForm9 : public QWidget {
    Q_OBJECT
public:
    explicit TForm9(QWidget *parent = nullptr);
};

extern QPointer<TForm9> Form9;
