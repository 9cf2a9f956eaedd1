#pragma once

namespace YAML {
class Node;
}
class MainWindow;

// What a user expects back after a restart and that belongs to no document:
// the docks' arrangement and sizes, the transmit window's text, input mode
// and interval, the echo view's label options. Kept in a "workbench" section
// of the settings file, which older readers pass over.
void restoreWorkbenchState(MainWindow &window, const YAML::Node &settings);
void storeWorkbenchState(const MainWindow &window, YAML::Node &settings);
