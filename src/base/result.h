// The one shape of an answer that can fail: saves, file writes, parameter reads and the
// renderer's option parsing all return it. A plain value, safe on any thread; `message`
// is a sentence for the user when !ok.
#pragma once

#include <QString>

#include <utility>

namespace mandalix {

struct Nothing {
    bool operator==(const Nothing&) const = default;
};

template <typename T = Nothing>
struct [[nodiscard]] Result {
    bool ok = false;
    QString message; // when !ok: e.g. Could not write "/tmp/a.png": Permission denied
    T value{};

    static Result success(T value = {}) { return {true, {}, std::move(value)}; }
    static Result failure(QString message, T value = {}) { return {false, std::move(message), std::move(value)}; }
};

} // namespace mandalix
