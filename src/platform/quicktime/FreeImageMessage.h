#pragma once
// Inside the graphics exporter: why a FreeImage call failed. FreeImage tells
// one callback for the whole process; each thread keeps the last message said
// on it, so that encoders on different threads do not read each other's.
#include <string>

// Forgets the calling thread's message; from the first call on, FreeImage's
// messages are kept.
void ClearFreeImageMessage();
// What FreeImage last said on the calling thread since it was cleared, or "".
const std::string& FreeImageMessage();
