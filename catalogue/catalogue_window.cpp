#include "catalogue/catalogue_window.h"

QPointer<TForm6> Form6;

TForm6::TForm6(QWidget *parent) : QWidget(parent, Qt::Window)
{
}
