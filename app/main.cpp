#include "app/run_sequence.h"
#include "ui/framework/win_app.h"

// The process's one application object. It has no name, so the framework
// takes the executable's file name as the application title.
CWinApp theApp;

int main(int, char**, char**) { return RunOrvantaCtrl(); }
