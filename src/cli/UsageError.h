#pragma once
// A command line the tool cannot act on; main reports it with exit status 2.
#include <stdexcept>
#include <string>

namespace rpt::cli {

class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace rpt::cli
