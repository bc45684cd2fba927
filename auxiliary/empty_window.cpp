#include "auxiliary/empty_window.h"

QPointer<TForm9> Form9;

TForm9::TForm9(QWidget *parent) : QWidget(parent, Qt::Window)
{
}
