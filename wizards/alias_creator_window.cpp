#include "wizards/alias_creator_window.h"

QPointer<TForm3> Form3;

TForm3::TForm3(QWidget *parent) : QDialog(parent)
{
}
