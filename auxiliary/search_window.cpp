#include "auxiliary/search_window.h"

QPointer<TForm8> Form8;

TForm8::TForm8(QWidget *parent) : QWidget(parent, Qt::Window)
{
}
