#pragma once

#include <QString>

#include <optional>
#include <utility>
#include <variant>

namespace workspace {

// A refusal that the caller handles: the French reason to show the teacher.
// Input/output failures are not refusals: they raise workspace::Failure.
struct Refusal
{
    QString reason;
};

inline Refusal refuse(QString reason)
{
    return Refusal{std::move(reason)};
}

// Either a value or the French reason it could not be had, as the caller
// must handle it:
//   Result<int> r = parse(u"12"_s);
//   if (!r) show(r.reason()); else use(*r);
template<typename T>
class [[nodiscard]] Result
{
public:
    Result(T value)
        : m_value(std::move(value))
    {
    }
    Result(Refusal refusal)
        : m_value(std::move(refusal))
    {
    }

    bool ok() const { return std::holds_alternative<T>(m_value); }
    explicit operator bool() const { return ok(); }

    const T &value() const & { return std::get<T>(m_value); }
    T &value() & { return std::get<T>(m_value); }
    T &&value() && { return std::get<T>(std::move(m_value)); }
    const T &operator*() const & { return value(); }
    T &operator*() & { return value(); }
    const T *operator->() const { return &value(); }
    T *operator->() { return &value(); }

    // The French reason; empty when there is a value.
    QString reason() const { return ok() ? QString() : std::get<Refusal>(m_value).reason; }

private:
    std::variant<T, Refusal> m_value;
};

// What succeeds with nothing to give back.
struct Done
{
};

template<>
class [[nodiscard]] Result<void>
{
public:
    Result() = default;
    Result(Done) {}
    Result(Refusal refusal)
        : m_refusal(std::move(refusal))
    {
    }

    bool ok() const { return !m_refusal.has_value(); }
    explicit operator bool() const { return ok(); }
    QString reason() const { return m_refusal ? m_refusal->reason : QString(); }

private:
    std::optional<Refusal> m_refusal;
};

} // namespace workspace
