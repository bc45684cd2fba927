#pragma once

#include <QDialog>
#include <QPointer>

// The settings window: laid out, never shown, without actions.
class TForm7 : public QDialog {
    Q_OBJECT
public:
    explicit TForm7(QWidget *parent = nullptr);
};

extern QPointer<TForm7> Form7;
