#pragma once
#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace fw {

// Why something could not be done, in words that name what it was about and
// say what the user can do.
struct Refusal {
    std::string message;
};

// A value, or the refusal that stands in its place. Every reader, writer,
// decoder and job answers in this one shape, so that a failure can never be
// mistaken for an empty result.
template <class T>
class [[nodiscard]] Expected {
public:
    Expected(T value) : state_(std::in_place_index<0>, std::move(value)) {}
    Expected(Refusal refusal) : state_(std::in_place_index<1>, std::move(refusal)) {}

    bool ok() const { return state_.index() == 0; }
    explicit operator bool() const { return ok(); }

    T& operator*() & { return std::get<0>(state_); }
    const T& operator*() const& { return std::get<0>(state_); }
    T&& operator*() && { return std::get<0>(std::move(state_)); }
    T* operator->() { return &std::get<0>(state_); }
    const T* operator->() const { return &std::get<0>(state_); }

    // The refusal's words; only when !ok().
    const std::string& why() const { return std::get<1>(state_).message; }
    Refusal refusal() const { return std::get<1>(state_); }

private:
    std::variant<T, Refusal> state_;
};

// Done, or the refusal that says why not.
template <>
class [[nodiscard]] Expected<void> {
public:
    Expected() = default;
    Expected(Refusal refusal) : refusal_(std::move(refusal)) {}

    bool ok() const { return !refusal_; }
    explicit operator bool() const { return ok(); }
    const std::string& why() const { return refusal_->message; }
    Refusal refusal() const { return *refusal_; }

private:
    std::optional<Refusal> refusal_;
};

inline Refusal Refuse(std::string message) { return Refusal{std::move(message)}; }

}  // namespace fw
