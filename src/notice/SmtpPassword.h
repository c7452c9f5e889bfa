#pragma once

#include <QString>

// The mail server's password lives only on the sending machine, in a file that only its owner can read
// (chmod 600), never in the shared databases. Its first line is the password.
namespace SmtpPassword {

// The usual place: "smtp-password" in the program folder.
QString DefaultPath();

// Reads the password. A file that others may read or write, that belongs to another user, or that is
// missing is refused: `problem` then says why and the result is "".
QString Read(const QString &path, QString *problem);

} // namespace SmtpPassword
