// demo-package: the stand-in for the product's full installer package.
#include "tools/demo-package/demo_programs.h"

int main(int argc, char** argv) { return RunDemoProgram(argc, argv); }
