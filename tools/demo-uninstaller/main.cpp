// demo-uninstaller: the stand-in for an installed version's uninstaller;
// removes what demo-package installed into the "_?=" folder.
#include "tools/demo-package/demo_programs.h"

int main(int argc, char** argv) { return RunDemoUninstaller(argc, argv); }
