#pragma once

#include <QString>
#include <QtGlobal>

// The price-tag program: a separate program in the program folder ("velmora", on Windows "velmora.exe")
// whose main window is captioned "値札印刷". The register only starts it or brings it forward.
inline const QString kTagWindowCaption = QStringLiteral("値札印刷");

// The full path of the price-tag program when its file exists in the program folder, else "".
QString GetTagPath();
// The running price-tag program, or 0: on Windows the handle of the first top-level window captioned
// "値札印刷"; elsewhere, where windows of other programs cannot be found by caption, the process id of a
// running copy of the program file.
qint64 FindTagWindow();
// Brings a running copy forward, or starts the program (not waiting for it). Nothing when it is missing.
void RunTagProgram();
