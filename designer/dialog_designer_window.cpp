#include "designer/dialog_designer_window.h"

QPointer<TForm5> Form5;

TForm5::TForm5(QWidget *parent) : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint)
{
    setAttribute(Qt::WA_DeleteOnClose);
    show();
}
