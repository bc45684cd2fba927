#pragma once

#include <QWidget>
#include <QPointer>

// The hidden catalogue window: the snippet tables and the style-word slots.
class TForm6 : public QWidget {
    Q_OBJECT
public:
    explicit TForm6(QWidget *parent = nullptr);
};

extern QPointer<TForm6> Form6;
