#pragma once

#include "app/main_window.h"
#include "catalogue/catalogue_window.h"
#include "designer/dialog_designer_window.h"

#include <QStringList>

// What the designer tests share: opening a designer as the menu does, and reading the slots.
namespace DesignerHelpers {

inline TForm5 *openDesigner()
{
    Orl->N23Click();
    return Form5;
}

inline QStringList allSlots()
{
    QStringList words;
    for (int n = 1; n <= 12; ++n)
        words.append(Form6->slot(n));
    return words;
}

} // namespace DesignerHelpers
