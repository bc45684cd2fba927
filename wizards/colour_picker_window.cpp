#include "wizards/colour_picker_window.h"

QPointer<TForm10> Form10;

TForm10::TForm10(QWidget *parent) : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint)
{
    setAttribute(Qt::WA_DeleteOnClose);
    show();
}
