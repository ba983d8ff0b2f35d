// The program's entry: the application shell does everything. Depends on shell/.
#include "shell/shell.h"

int main(int argc, char** argv) { return RunApplication(argc, argv); }
