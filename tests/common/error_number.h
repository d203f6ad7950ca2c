#pragma once
// The number of the tarvex::Error a call raises, 0 when it raises none: lets a test state the
// expected failure of a step in one line.

#include "platform/error/error.h"

namespace tarvex::testing {

template <class F>
int errorNumber(F&& call) {
    try {
        call();
    } catch (const Error& e) {
        return e.number();
    }
    return 0;
}

}  // namespace tarvex::testing
