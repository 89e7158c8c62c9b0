#pragma once
// Inside the platform: makes Qt's application object, or ends the program with
// one line on standard error and status 1 when there is no display to show it
// on (where Qt itself would abort and dump core).
void StartQtOrExit();
