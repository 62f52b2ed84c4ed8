#pragma once

#include <functional>
#include <utility>

namespace plenoria {

// A two-way view of one value that lives elsewhere (a field of the bench's record): `get` reads it
// afresh on every call and `set` writes it back, so a control never keeps a copy that could go
// stale. Either function may be empty: an empty getter reads a default-constructed value, an empty
// setter ignores writes. Main thread only, like everything a control binds to.
template <typename T> class Binding {
public:
    using Getter = std::function<T()>;
    using Setter = std::function<void(const T&)>;

    Binding() = default;
    Binding(Getter getter, Setter setter)
        : m_get(std::move(getter))
        , m_set(std::move(setter))
    { }

    // A value that never changes; writes are ignored (a read-only timeline's spec, say).
    [[nodiscard]] static Binding constant(T value)
    {
        return Binding([value = std::move(value)] { return value; }, {});
    }

    [[nodiscard]] T get() const { return m_get ? m_get() : T{}; }
    void set(const T& value) const
    {
        if (m_set)
            m_set(value);
    }

    // A binding to one part of this value: reads project it out, writes put it back into a fresh
    // read of the whole and write the whole (a spec's `center`, say).
    template <typename U, typename Read, typename Write>
    [[nodiscard]] Binding<U> projected(Read read, Write write) const
    {
        Binding whole = *this;
        return Binding<U>([whole, read] { return read(whole.get()); },
            [whole, write](const U& part) {
                T value = whole.get();
                write(value, part);
                whole.set(value);
            });
    }

private:
    Getter m_get;
    Setter m_set;
};

} // namespace plenoria
