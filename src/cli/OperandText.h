#pragma once
// Operand values as the command dump lists them.
#include "reader/ReportFormat.h"
#include "reader/ReportOperands.h"

#include <string>

namespace rpt::cli {

// "name=value", or empty for an operand the file's version does not carry.
std::string OperandText(const TOperandSpec& operand, const TOperandValue& value);

} // namespace rpt::cli
