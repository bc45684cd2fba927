#include "auxiliary/settings_window.h"

QPointer<TForm7> Form7;

TForm7::TForm7(QWidget *parent) : QDialog(parent)
{
}
