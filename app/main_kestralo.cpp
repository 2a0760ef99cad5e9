// KESTRALO controller program.
#include "app/controller.h"

int main() { return vesk::runController(vesk::Variant::Kestralo); }
