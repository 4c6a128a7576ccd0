#include "Vitrine_test.h"

void TForm1::CheckBox2Click() {}
void TForm1::CheckBox6Click() {}
void TForm1::CheckBox8Click() {}
void TForm1::CheckBox9Click() {}
void TForm1::CheckBox3Change() {}
void TForm1::CheckBox4Change() {}
void TForm1::CheckBox5Change() {}
void TForm1::Edit6ChangeTraccking() {}
