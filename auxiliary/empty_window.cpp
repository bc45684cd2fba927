#include "auxiliary/empty_window.h"

QPointer<TForm9> Form9;

TForm9::TForm9(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("Form9"));
    setWindowTitle(QStringLiteral("Form9"));
    setGeometry(408, 228, 696, 480);
}
