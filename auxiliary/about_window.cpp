#include "auxiliary/about_window.h"

QPointer<TForm11> Form11;

TForm11::TForm11(QWidget *parent) : QDialog(parent)
{
}
