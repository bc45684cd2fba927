#pragma once

#include <QDialog>
#include <QPointer>

// The about window.
class TForm11 : public QDialog {
    Q_OBJECT
public:
    explicit TForm11(QWidget *parent = nullptr);
};

extern QPointer<TForm11> Form11;
