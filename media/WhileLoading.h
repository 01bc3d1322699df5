#pragma once
// Loading outside data when memory runs out: the message names what was being loaded
// ("there is not enough memory to load Data/m001.bmp"), never the bare "std::bad_alloc".
#include <new>
#include <stdexcept>
#include <string>

namespace zorbo {

inline std::string NotEnoughMemoryText(const std::string& what)
{
    return "there is not enough memory to load " + what;
}

// Runs one step of loading `what`; a failed allocation in it becomes a std::runtime_error
// that names it, for the caller's way to fail (GameWindow::Fail, main).
template <class Step>
auto WhileLoading(const std::string& what, Step&& step) -> decltype(step())
{
    try {
        return step();
    } catch (const std::bad_alloc&) {
        throw std::runtime_error(NotEnoughMemoryText(what));
    }
}

} // namespace zorbo
