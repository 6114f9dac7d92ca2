#pragma once
// An object that a running report can hand itself to, with two arguments.
#include <cstdint>

namespace rpt {

class TBaseReport;

class TDispatchTarget {
public:
    virtual ~TDispatchTarget() = default;
    virtual void Dispatch(TBaseReport& report, intptr_t a, intptr_t b) = 0;
};

} // namespace rpt
