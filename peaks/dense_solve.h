#pragma once

#include <optional>
#include <vector>

namespace pellum {

// Solves a x = b for a square matrix a, stored row by row (b.size() rows), by Gaussian
// elimination with partial pivoting; nothing when a is singular or a number is not finite.
//
//   SolveDense({2, 0, 0, 4}, {2, 8}) -> {1, 2}
std::optional<std::vector<double>> SolveDense(std::vector<double> a, std::vector<double> b);

}  // namespace pellum
