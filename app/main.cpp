#include "app/main_window.h"

int main() { app::ProgramEntry(); }
