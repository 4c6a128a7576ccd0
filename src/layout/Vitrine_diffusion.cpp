#include "Vitrine_test.h"

void TForm1::Button9Click() {}
