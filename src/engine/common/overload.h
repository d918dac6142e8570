// Overload: a visitor made of lambdas, one per alternative of a variant.
#pragma once

namespace engine {

template <class... F>
struct Overload : F... {
    using F::operator()...;
};
template <class... F>
Overload(F...) -> Overload<F...>;

}  // namespace engine
