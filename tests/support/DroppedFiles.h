#pragma once
// Files dropped on a widget, as a file manager offers them: as a copy.
#include <QWidget>
#include <string>
#include <vector>

// Drags the files onto the widget and drops them there, then runs the events
// that the drop leaves behind; true when the drop was taken.
bool Drop(QWidget* target, const std::vector<std::string>& paths);
