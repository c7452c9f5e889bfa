#pragma once

#include "base/MessagePresenter.h"

#include <QString>

// The program folder's databases for a command of the operator's tool: the folder named by VANTLE_HOME,
// else the current folder. Messages the data layer would show on a screen go to standard error, and a
// database that cannot be opened ends the command with a complaint instead of a question.
class ToolProgram
{
public:
    explicit ToolProgram(const char *command);
    ~ToolProgram();
    ToolProgram(const ToolProgram &) = delete;
    ToolProgram &operator=(const ToolProgram &) = delete;

    // True when gIni, gDb and gMst are open; otherwise the reason was printed.
    bool open();
    // Prints a line to standard error, headed by the command's name.
    void complain(const QString &message) const;

private:
    const char *m_command;
    RecordingPresenter m_messages;
};
