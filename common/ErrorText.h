#pragma once

#include <QString>

#include <exception>

// What the user reads when an exception ends a command. A QuorvelError
// carries its own text for the user; anything else is a programming error or
// an exhausted machine, and its raw English what() is never shown: the user
// gets a sentence in the program's language, and the detail goes to the
// diagnostic log.
QString textForUser(const std::exception& error);
