#include "wizards/variable_creator_window.h"

QPointer<TForm4> Form4;

TForm4::TForm4(QWidget *parent) : QDialog(parent)
{
}
