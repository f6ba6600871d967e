#pragma once

// File names in the lines the program prints (result lines, the lot's summary, warnings and
// errors), made safe to print inside one line. Control characters are written as \xHH everywhere,
// so a name cannot end a line or move the cursor. A backslash is written as \\ where it may be part
// of a name (Linux), so that "\x41" in a name cannot pass for an escape; on Windows, where it is
// the path separator and no name holds it or a control character, it is printed as typed:
// "C:\lab\unit1.ASC".

#include <string>
#include <string_view>

namespace ambersel::cli {

// `path`, a FILE argument or any other name as given, as the program prints it.
std::string printedPath(std::string_view path);

}  // namespace ambersel::cli
