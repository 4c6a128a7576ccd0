#include "Unit3.h"

void TForm3::Button5Click() {}
