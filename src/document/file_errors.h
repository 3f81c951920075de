#pragma once

#include <QString>

// The reasons given in file error messages, in the form of the program's
// other file messages.
namespace FileErrors {

// Why a system call failed, from its errno value.
QString reasonFor(int errnoValue);

} // namespace FileErrors
