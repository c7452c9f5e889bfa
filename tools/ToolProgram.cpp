#include "ToolProgram.h"

#include "app/InitObj.h"
#include "data/Globals.h"
#include "data/clsDb.h"
#include "data/clsINI.h"
#include "data/clsMst.h"

#include <QDir>
#include <QFileInfo>
#include <cstdio>

ToolProgram::ToolProgram(const char *command) : m_command(command)
{
    if (qEnvironmentVariableIsEmpty("VANTLE_HOME"))
        qputenv("VANTLE_HOME", QDir::currentPath().toLocal8Bit());
    MessagePresenter::install(&m_messages);
}

ToolProgram::~ToolProgram()
{
    ReleaseObj();
    MessagePresenter::install(nullptr);
}

void ToolProgram::complain(const QString &message) const
{
    std::fprintf(stderr, "%s: %s\n", m_command, qPrintable(message));
}

bool ToolProgram::open()
{
    if (!QFileInfo::exists(clsINI::FilePath())) {
        complain(QStringLiteral("%1 がありません (プログラムフォルダは VANTLE_HOME か現在のフォルダです)").arg(clsINI::FilePath()));
        return false;
    }
    try {
        InitObj();
    } catch (const std::exception &e) {
        complain(QString::fromLocal8Bit(e.what()));
    }
    for (const QString &prompt : m_messages.prompts())
        complain(prompt);
    m_messages.clear();
    if (gIni && gIni->isOpen() && gDb && gDb->isOpen() && gMst && gMst->isOpen())
        return true;
    complain(QStringLiteral("データベースを開けません。"));
    return false;
}
