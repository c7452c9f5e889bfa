#pragma once

#include "base/Currency.h"
#include "base/MessagePresenter.h"
#include "base/Variant.h"

#include <QString>

// The product title: the default caption of every message.
inline const QString kProductTitle = QStringLiteral("Marveno");

// Shows a message through the installed presenter and writes it with its kind and answer to the log.
// An empty title becomes the product title, in the caller's variable too. Never fails towards the caller.
int MsgBoxEx(QString &prompt, int flags, QString &title);
int MsgBoxEx(const QString &prompt, int flags = Msg::OKOnly, const QString &title = QString());

// The log text MsgBoxEx writes: title, kind tag, prompt and answer tag, joined without separators.
QString MsgLogText(const QString &prompt, int flags, const QString &title, int answer);

// The log file's full path; empty until the first line is written.
extern QString gLogPath;

// Appends one line, headed by the date, time and hundredths of the second, to the program's log file.
// Throws nothing; a line that cannot be written is lost.
void WriteLog(const QString &text);
// The head of a log line for a moment and its seconds-since-midnight timer ("2024/03/01 09:15:02.47 ").
QString LogLineHead(double now, double timer);

// Rounds money: mode 1 truncates, mode 2 rounds away from zero, any other mode rounds half away from zero;
// at `digits` decimals, in exact decimal arithmetic. Null gives 0.
Currency RoundOff(const Variant &value, int mode, int digits);

// The computer's network name, or "" when it is longer than fifteen characters.
QString GetCompName();
