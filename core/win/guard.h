// Nothing may unwind into the system's dispatch or the dialog manager: every
// window and dialog procedure runs its handler through this.
#pragma once

namespace tx9 {

// Returns body(); if that throws, runs on_failure() and returns what it gives.
// on_failure must not throw itself.
template <class Body, class OnFailure>
auto guarded(Body&& body, OnFailure&& on_failure) noexcept -> decltype(body()) {
    try {
        return body();
    } catch (...) {
        return on_failure();
    }
}

} // namespace tx9
