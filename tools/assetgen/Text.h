// Small helpers shared by the text-source readers: errors that name file and line, and
// numbers read whole.
#pragma once

#include <stdexcept>
#include <string>
#include <type_traits>

namespace zorbo::assets {

[[noreturn]] inline void fail(const std::string& where, const std::string& what) {
    throw std::runtime_error(where + ": " + what);
}

// The whole word as a number of type T (int or double); anything else is an error.
template <class T>
T to_number(const std::string& s, const std::string& where) {
    try {
        std::size_t used = 0;
        T v{};
        if constexpr (std::is_integral_v<T>)
            v = static_cast<T>(std::stoi(s, &used));
        else
            v = static_cast<T>(std::stod(s, &used));
        if (used != s.size()) fail(where, "not a number: " + s);
        return v;
    } catch (const std::logic_error&) {
        fail(where, "not a number: " + s);
    }
}

}  // namespace zorbo::assets
