#pragma once

class QApplication;

// The program's run: data objects, the sales date, the first screen. Returns the exit code.
int Main(QApplication &app);
