// The demo package, its uninstaller and the product they install: small real
// programs that speak the installer's line protocol, for tests and the demo.
// They are tools, not the product, and use POSIX directly.
//
// One binary plays all three parts, chosen by how it is started: named
// "Velmora.exe" it is the product; with a "_?=<folder>" argument (or named
// "uninst.ep" / "Velmora_un_asa.exe") it is the uninstaller; otherwise the
// package. The package copies itself into the folder as "Velmora.exe" and
// "uninst.ep", so the installed uninstaller is a real, runnable program.
//
// Tests steer each part with a script (see demo_script.h), given by
// "-demoscript=<file>" on the command line or by the environment variable
// VELMORA_DEMO_PACKAGE_SCRIPT (package) / VELMORA_DEMO_UNINSTALLER_SCRIPT
// (uninstaller). Without a script each part does its standard job.
#pragma once

int RunDemoPackage(int argc, char** argv);
int RunDemoUninstaller(int argc, char** argv);
// "--run-until=<file>": keeps running until the file exists (at most 60 s).
int RunDemoProduct(int argc, char** argv);
// Picks the part from argv as described above.
int RunDemoProgram(int argc, char** argv);
