#pragma once

#include <QString>

// Mail addresses as the notices accept them: one plain address (local@domain.example), ASCII only, nothing
// around it. Whatever could add a recipient or a header line (a comma, angle brackets, a line break, a
// blank) makes the address invalid, so a notice goes to the one address typed, or nowhere.
namespace MailAddress {

bool isValid(const QString &address);

} // namespace MailAddress
