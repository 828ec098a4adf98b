// The main window (79): ten task rows, three statistic rows, the reference row
// and the Start and Donate buttons.
#pragma once

// Opens the window and makes its controls in their creation order, which is
// also the Tab order; false as soon as the window or a control cannot be made.
bool OpenMainWindow();
