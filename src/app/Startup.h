#pragma once
// The program entry and the start-up sequence.
#include <cstdint>

// The program entry: runtime, class registration, start-up and event loop,
// shut-down; returns the exit status.
int32_t VamorMain();

// Registers every class, the framework's first, then the program's six.
void Initialize_();
// Framework initialisation with the start-up routine, then the event loop; an
// exception that leaves either goes to the unhandled-exception report.
void Main_();
void Startup_();
void InitFileTypes_();
void NewAppInstance_();
void ApplicationAddMenuHandlers_();
void MakeDefaultView_();
// Releases the module properties at shut-down.
void Finalize_();
