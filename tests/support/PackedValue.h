#pragma once
// Fields of packed records may stand at odd addresses, and GoogleTest's
// assertions bind their arguments to references, which is undefined there.
// Value(record.Field) hands the assertion a copy instead.
template <typename T>
constexpr T Value(T value) {
  return value;
}
