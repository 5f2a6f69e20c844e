#pragma once
// One command-line string <-> an argument vector, by the Windows rules for double-quoted
// arguments, so that the templates keep their familiar form and every argument reaches
// the tool exactly.

#include <string>
#include <vector>

namespace transcoda {

// Splits a command line into arguments. The first argument (the program) ends at the
// first blank, or at the closing quote when it begins with one; backslashes in it are
// literal. In the other arguments: blanks and tabs outside quotes separate arguments;
// 2n backslashes before a quote give n backslashes and the quote opens or closes a quoted
// part; 2n+1 backslashes before a quote give n backslashes and a literal quote; other
// backslashes are literal; "" inside a quoted part is a literal quote.
std::vector<std::string> SplitCommandLine(const std::string& commandLine);

// Wraps x in double quotes so that SplitCommandLine gives x back exactly. For a text
// without quotes and without a trailing backslash this is simply '"' + x + '"'.
std::string Q(const std::string& x);

}  // namespace transcoda
