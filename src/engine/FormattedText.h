#pragma once
// Strings may carry font changes inside them: code blocks opened by the
// character 1, with commands separated by 2, fillers 3 dropped, closed by 4.
// These routines cut such a string into runs and read the commands; the
// engine applies them (TBaseReport::ApplyFormatCodes and its companions).
#include <cstdint>
#include <string>

namespace rpt {

constexpr char kBlockStart = '\x01';
constexpr char kCommandSeparator = '\x02';
constexpr char kFiller = '\x03';
constexpr char kBlockEnd = '\x04';

// Reads the next command of a code string from pos (1-based; 0 is taken as
// 1). On return pos stands on the 2 or 4 that ended the argument, or past the
// end; letter is a blank when no command was left.
void NextCommand(const std::string& s, int32_t& pos, char& letter, std::string& arg);

// From pos, collects into codes the code blocks before the next text and
// into text the run that follows, up to the next block start or the end.
void SplitRun(const std::string& s, int32_t& pos, std::string& text, std::string& codes);

} // namespace rpt
