#pragma once

#include <string>
#include <utility>
#include <vector>

namespace brimlo {

// Rounds x to d decimals, halves away from zero, treating a value within
// 1e-8 of a half as the half itself.
double RoundDecimals(double x, int d);

// text before the first occurrence of old, then new, then the rest.
void ReplaceFirst(std::string& text, const std::string& old, const std::string& replacement);

// A lower-case first letter a..z becomes its capital.
void UpcaseFirst(std::string& text);

// True when name contains both texts of some pair (case-sensitive).
bool MatchesAnyPair(const std::string& name,
                    const std::vector<std::pair<std::string, std::string>>& pairs);

// Blanks removed at both ends.
std::string Trimmed(const std::string& text);

} // namespace brimlo
