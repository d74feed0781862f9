#pragma once

namespace Qimro {

// An ordered list of types carried in a type; it holds nothing at run time.
template <class... Types>
struct TypeList {};

} // namespace Qimro
